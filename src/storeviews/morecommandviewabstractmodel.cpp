#include "morecommandviewabstractmodel.h"

MoreCommandViewAbstractModel::MoreCommandViewAbstractModel(QObject *parent)
    : StoredListModel({{ImagePathRole, "imagepath"},
                       {BookNameRole, "bookname"},
                       {AuthorNameRole, "authorname"},
                       {SummaryRole, "summary"},
                       {BookIdRole, "bookID"}},
                      parent)
{}

MoreCommandViewAbstractModel::~MoreCommandViewAbstractModel() = default;

int MoreCommandViewAbstractModel::rowCount(const QModelIndex &parent) const
{
    return StoredListModel::rowCount(parent);
}

int MoreCommandViewAbstractModel::rowCount() const
{
    return storedCount();
}

bool MoreCommandViewAbstractModel::deleteItem(int index)
{
    return removeStoredRow(index, [&] { m_itemList.erase(m_itemList.begin() + index); });
}

void MoreCommandViewAbstractModel::clearAll()
{
    removeAllStoredRows([&] { m_itemList.clear(); });
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
    return insertStoredRow(
        rowCount(), [&] { m_itemList.push_back(std::make_unique<RecommandDetail>(detail)); });
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

int MoreCommandViewAbstractModel::storedCount() const
{
    return static_cast<int>(m_itemList.size());
}

QVariant MoreCommandViewAbstractModel::storedData(int row, int role) const
{
    const RecommandDetail &item = *m_itemList[row];
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
