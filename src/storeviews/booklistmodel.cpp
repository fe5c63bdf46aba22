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

BookListModel::BookListModel(QObject *parent) : QAbstractListModel(parent)
{
    m_roles.insert(NameRole, "name");
    m_roles.insert(PicPathRole, "picpath");
    m_roles.insert(AuthorRole, "author");
    m_roles.insert(ContentRole, "content");
    m_roles.insert(TypeRole, "type");
    m_roles.insert(HasTitleRole, "hastitle");
    m_roles.insert(TitleNameRole, "titlename");
}

BookListModel::~BookListModel() = default;

bool BookListModel::isValidRow(int index) const
{
    return index >= 0 && index < static_cast<int>(m_itemList.size());
}

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
    const int row = static_cast<int>(m_itemList.size());
    beginInsertRows(QModelIndex(), row, row);
    m_itemList.push_back(std::move(copy));
    endInsertRows();
    return true;
}

bool BookListModel::deleteItem(int index)
{
    if (!isValidRow(index))
        return false;
    beginRemoveRows(QModelIndex(), index, index);
    m_itemList.erase(m_itemList.begin() + index);
    endRemoveRows();
    return true;
}

bool BookListModel::removeAllItem()
{
    if (m_itemList.empty())
        return false;
    beginRemoveRows(QModelIndex(), 0, static_cast<int>(m_itemList.size()) - 1);
    m_itemList.clear();
    endRemoveRows();
    return true;
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

int BookListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(m_itemList.size());
}

QVariant BookListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !isValidRow(index.row()))
        return QVariant();
    const BookInfo &item = *m_itemList[index.row()];
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

bool BookListModel::setData(const QModelIndex &, const QVariant &, int)
{
    return true;
}

Qt::ItemFlags BookListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

QHash<int, QByteArray> BookListModel::roleNames() const
{
    return m_roles;
}
