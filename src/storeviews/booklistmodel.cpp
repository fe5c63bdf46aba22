#include "booklistmodel.h"

namespace {

// Titles longer than 15 characters become 12 characters and "...".
QString shortenedName(const QString &name)
{
    if (name.size() > 15)
        return name.left(12) + QStringLiteral("...");
    return name;
}

// Descriptions of 13 characters or more become 10 characters and "...".
QString shortenedContent(const QString &content)
{
    if (content.size() >= 13)
        return content.left(10) + QStringLiteral("...");
    return content;
}

} // namespace

BookListModel::BookListModel(QObject *parent)
    : StoredListModel({{NameRole, "name"},
                       {PicPathRole, "picpath"},
                       {AuthorRole, "author"},
                       {ContentRole, "content"},
                       {TypeRole, "type"},
                       {HasTitleRole, "hastitle"},
                       {TitleNameRole, "titlename"}},
                      parent)
{}

BookListModel::~BookListModel() = default;

QString BookListModel::get(int index)
{
    if (!isValidRow(index))
        return QStringLiteral("");
    return m_itemList[index]->m_bookName;
}

QString BookListModel::getRecName(int index)
{
    if (!isValidRow(index))
        return QStringLiteral("");
    const QString &name = m_itemList[index]->m_bookName;
    if (name.size() < 15)
        return name;
    return name.left(14) + QStringLiteral("..");
}

int BookListModel::getCount()
{
    return static_cast<int>(m_itemList.size());
}

int BookListModel::getHeight()
{
    int height = 0;
    for (const auto &item : m_itemList) {
        height += RowHeight;
        if (item->m_hasTitle)
            height += TitleHeight;
        if (item->m_type == BookInfo::EPicList)
            height += PictureExtraHeight;
    }
    return height;
}

// The screens pass only rows below getCount(); anything else reads as empty
// rather than crashing.
QString BookListModel::getTitleID(int index)
{
    if (!isValidRow(index))
        return QString();
    return m_itemList[index]->m_titleId;
}

QString BookListModel::getBookID(int index)
{
    if (!isValidRow(index))
        return QString();
    return m_itemList[index]->m_bookId;
}

bool BookListModel::insertItem(const BookInfo *info)
{
    if (!info)
        return false;
    auto copy = std::make_unique<BookInfo>(*info);
    copy->m_bookName = shortenedName(info->m_bookName);
    copy->m_content = shortenedContent(info->m_content);
    return insertStoredRow(getCount(), [&] { m_itemList.push_back(std::move(copy)); });
}

bool BookListModel::deleteItem(int index)
{
    return removeStoredRow(index, [&] { m_itemList.erase(m_itemList.begin() + index); });
}

bool BookListModel::removeAllItem()
{
    return removeAllStoredRows([&] { m_itemList.clear(); });
}

BookInfo *BookListModel::getBookInfo(int index)
{
    if (!isValidRow(index))
        return nullptr;
    return m_itemList[index].get();
}

void BookListModel::copyFromBookListModel(BookListModel *other)
{
    if (!other || other == this)
        return;
    removeAllItem();
    const int count = other->getCount();
    for (int i = 0; i < count; ++i)
        insertItem(other->getBookInfo(i));
}

int BookListModel::storedCount() const
{
    return static_cast<int>(m_itemList.size());
}

QVariant BookListModel::storedData(int row, int role) const
{
    const BookInfo &item = *m_itemList[row];
    switch (role) {
    case NameRole:
        return item.m_bookName;
    case PicPathRole:
        return item.m_picPath;
    case AuthorRole:
        return item.m_author;
    case ContentRole:
        return item.m_content;
    case TypeRole:
        return static_cast<int>(item.m_type);
    case HasTitleRole:
        return item.m_hasTitle;
    case TitleNameRole:
        return item.m_titleName;
    default:
        return QVariant();
    }
}
