#include "morecommandviewabstractmodel.h"

MoreCommandViewAbstractModel::MoreCommandViewAbstractModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_roles.insert(ImagePathRole, "imagepath");
    m_roles.insert(BookNameRole, "bookname");
    m_roles.insert(AuthorNameRole, "authorname");
    m_roles.insert(SummaryRole, "summary");
    m_roles.insert(BookIdRole, "bookID");
}

MoreCommandViewAbstractModel::~MoreCommandViewAbstractModel() = default;

bool MoreCommandViewAbstractModel::isValidRow(int index) const
{
    return index >= 0 && index < static_cast<int>(m_itemList.size());
}

int MoreCommandViewAbstractModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return rowCount();
}

int MoreCommandViewAbstractModel::rowCount() const
{
    return static_cast<int>(m_itemList.size());
}

bool MoreCommandViewAbstractModel::deleteItem(int index)
{
    if (!isValidRow(index))
        return false;
    beginRemoveRows(QModelIndex(), index, index);
    m_itemList.erase(m_itemList.begin() + index);
    endRemoveRows();
    return true;
}

void MoreCommandViewAbstractModel::clearAll()
{
    if (m_itemList.empty())
        return;
    beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
    m_itemList.clear();
    endRemoveRows();
}

bool MoreCommandViewAbstractModel::clickPageIcon(int pageIconIndex)
{
    // The next page is decided by the network manager's own counter, so the
    // number sent is only a token. Page-up asks for nothing (see the class
    // comment).
    if (pageIconIndex != 0)
        emit gotoNextPage(1);
    return true;
}

bool MoreCommandViewAbstractModel::appandItem(const RecommandDetail &detail)
{
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_itemList.push_back(std::make_unique<RecommandDetail>(detail));
    endInsertRows();
    return true;
}

void MoreCommandViewAbstractModel::setPageCount(int count)
{
    m_pageCount = count;
    emit PageCountChanged();
}

void MoreCommandViewAbstractModel::setCurrentPageNum(int num)
{
    m_currentPageNum = num;
    emit CurrentPageNumChanged();
}

void MoreCommandViewAbstractModel::setItemNumInOnePage(int num)
{
    m_ItemNumInOnePage = num;
    emit ItemNumInOnePageChanged();
}

QVariant MoreCommandViewAbstractModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !isValidRow(index.row()))
        return QVariant();
    const RecommandDetail &item = *m_itemList[index.row()];
    switch (role) {
    case ImagePathRole:
        return item.ImagePath;
    case BookNameRole:
        return item.BookName;
    case AuthorNameRole:
        return item.AuthorName;
    case SummaryRole:
        return item.Summary;
    case BookIdRole:
        return item.BookID;
    default:
        return QVariant();
    }
}

bool MoreCommandViewAbstractModel::setData(const QModelIndex &, const QVariant &, int)
{
    return true;
}

Qt::ItemFlags MoreCommandViewAbstractModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

QHash<int, QByteArray> MoreCommandViewAbstractModel::roleNames() const
{
    return m_roles;
}
