#include "mybookshelfabstractmodel.h"

#include "mybookinfoitem.h"
#include "readingprogress.h"

namespace {
// Titles from this many characters on are cut for the shelf.
constexpr int LongTitle = 13;
constexpr int ShortTitle = 10;
} // namespace

MyBookShelfAbstractModel::MyBookShelfAbstractModel(QObject *parent)
    : StoredListModel({{IconPathRole, "iconPath"},
                       {BookNameRole, "bookName"},
                       {AuthorNameRole, "authorName"},
                       {NewIconFlagRole, "newIconFlag"},
                       {BookPathRole, "bookPath"},
                       {BookSizeRole, "bookSize"},
                       {BookIdRole, "bookId"},
                       {ReadProgressRole, "readProgress"}},
                      parent)
{}

int MyBookShelfAbstractModel::storedCount() const
{
    return int(m_itemList.size());
}

QVariant MyBookShelfAbstractModel::storedData(int row, int role) const
{
    const VorelEBookItemData &item = m_itemList.at(row);
    switch (role) {
    case IconPathRole:
        return item.m_bookIconPath;
    case BookNameRole:
        return shortBookName(item.m_bookName);
    case AuthorNameRole:
        return item.m_bookAuthor;
    case NewIconFlagRole:
        return item.m_bookMarkFlag == 1;
    case BookPathRole:
        return item.m_bookStorePath;
    case BookSizeRole:
        return convertSizeToString(item.m_bookSize);
    case BookIdRole:
        return item.m_bookId;
    case ReadProgressRole:
        return m_readPercent.value(item.m_bookId, -1);
    default:
        return QVariant();
    }
}

void MyBookShelfAbstractModel::updateItemList(QList<VorelEBookItemData> *itemList)
{
    beginResetModel();
    // Read with every hand-over, which follows every return to the shelf.
    m_readPercent = ReadingProgress::storedPercentages();
    if (itemList)
        m_itemList = *itemList;
    else
        m_itemList.clear();
    endResetModel();
}

QString MyBookShelfAbstractModel::convertSizeToString(uint kbsize)
{
    if (kbsize < 1000)
        return QString::number(kbsize) + QLatin1String("KB");
    // Tenths of a megabyte, counting 1020 KB as 1.0 MB.
    const QString tenths = QString::number(kbsize / 102);
    const QString whole = kbsize < 1020 ? QStringLiteral("0") : tenths.chopped(1);
    return whole + QLatin1Char('.') + tenths.right(1) + QLatin1String("MB");
}

QString MyBookShelfAbstractModel::shortBookName(const QString &name)
{
    // Counted in characters, so a pair of surrogates is never cut in half.
    const QList<uint> characters = name.toUcs4();
    if (characters.size() < LongTitle)
        return name;
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(characters.constData()),
                             ShortTitle) +
           QLatin1String("...");
}

bool MyBookShelfAbstractModel::insertItem(int pos, MyBookInfoItem *item)
{
    if (!item)
        return false;
    VorelEBookItemData entry;
    entry.m_bookId = item->m_id;
    entry.m_bookName = item->m_name;
    entry.m_bookIconPath = item->m_iconPath;
    entry.m_bookAuthor = item->m_author;
    entry.m_bookSize = item->m_bookSize;
    entry.m_bookStorePath = item->m_bookPath;
    entry.m_bookMarkFlag = item->m_newIconFlag ? 1 : 0;
    return insertStoredRow(pos, [&] { m_itemList.insert(pos, entry); });
}

bool MyBookShelfAbstractModel::deleteItem(int index)
{
    return removeStoredRow(index, [&] { m_itemList.removeAt(index); });
}

void MyBookShelfAbstractModel::removeAllItem()
{
    updateItemList(nullptr);
}
