#include "onlinesearchingresultpagemodel.h"

#include "searchbookmgr.h"

OnlineSearchingResultPageModel::OnlineSearchingResultPageModel(SearchBookMgr &searchBookMgr,
                                                               QObject *parent)
    : QAbstractListModel(parent), m_searchBookMgr(searchBookMgr)
{
    m_roles.insert(IconPathRole, "iconPath");
    m_roles.insert(BookNameRole, "bookName");
    m_roles.insert(AuthorNameRole, "authorName");
    m_roles.insert(PresentationRole, "presentation");
    m_roles.insert(BookIdRole, "bookID");
}

OnlineSearchingResultPageModel::~OnlineSearchingResultPageModel() = default;

bool OnlineSearchingResultPageModel::isValidRow(int index) const
{
    return index >= 0 && index < static_cast<int>(m_itemList.size());
}

bool OnlineSearchingResultPageModel::insertItem(const OnlineSearchingBookInfo &info)
{
    return insertItem(rowCount(), info);
}

bool OnlineSearchingResultPageModel::insertItem(int index, const OnlineSearchingBookInfo &info)
{
    if (index < 0 || index > rowCount())
        return false;
    beginInsertRows(QModelIndex(), index, index);
    m_itemList.insert(m_itemList.begin() + index, std::make_unique<OnlineSearchingBookInfo>(info));
    endInsertRows();
    return true;
}

bool OnlineSearchingResultPageModel::removeAllItem()
{
    if (m_itemList.empty())
        return false;
    beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
    m_itemList.clear();
    endRemoveRows();
    return true;
}

bool OnlineSearchingResultPageModel::deleteItem(int index)
{
    if (!isValidRow(index))
        return false;
    beginRemoveRows(QModelIndex(), index, index);
    m_itemList.erase(m_itemList.begin() + index);
    endRemoveRows();
    return true;
}

void OnlineSearchingResultPageModel::setOnlineResultTitle(const QString &title)
{
    if (m_resultTitle == title)
        return;
    m_resultTitle = title;
    emit onlineResultTitleChanged();
}

void OnlineSearchingResultPageModel::setPageUpGrayFlag(bool gray)
{
    if (m_pageupFlag == gray)
        return;
    m_pageupFlag = gray;
    emit pageUpGrayFlagChanged();
}

void OnlineSearchingResultPageModel::setPageDownGrayFlag(bool gray)
{
    if (m_pagedownFlag == gray)
        return;
    m_pagedownFlag = gray;
    emit pageDownGrayFlagChanged();
}

int OnlineSearchingResultPageModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(m_itemList.size());
}

QVariant OnlineSearchingResultPageModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !isValidRow(index.row()))
        return QVariant();
    const OnlineSearchingBookInfo &item = *m_itemList[index.row()];
    switch (role) {
    case IconPathRole:
        return item.getIconPath();
    case BookNameRole:
        return item.getBookName();
    case AuthorNameRole:
        return item.getAuthorName();
    case PresentationRole:
        return item.getBookPresentation();
    case BookIdRole:
        return item.getBookID();
    default:
        return QVariant();
    }
}

bool OnlineSearchingResultPageModel::setData(const QModelIndex &, const QVariant &, int)
{
    return true;
}

Qt::ItemFlags OnlineSearchingResultPageModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

QHash<int, QByteArray> OnlineSearchingResultPageModel::roleNames() const
{
    return m_roles;
}

bool OnlineSearchingResultPageModel::handlePageup()
{
    return m_searchBookMgr.pageUp();
}

bool OnlineSearchingResultPageModel::handlePagedown()
{
    return m_searchBookMgr.pageDown();
}

QString OnlineSearchingResultPageModel::getBookID(int index)
{
    if (!isValidRow(index))
        return QString();
    return m_itemList[index]->getBookID();
}

QString OnlineSearchingResultPageModel::getInputText()
{
    return m_searchBookMgr.getKeywords();
}

void OnlineSearchingResultPageModel::handleSearchButtonClicked(QString aStr)
{
    m_searchBookMgr.setKeywords(aStr);
}
