#include "onlinesearchingresultpagemodel.h"

#include "searchbookmgr.h"

OnlineSearchingResultPageModel::OnlineSearchingResultPageModel(SearchBookMgr &searchBookMgr,
                                                               QObject *parent)
    : StoredListModel({{IconPathRole, "iconPath"},
                       {BookNameRole, "bookName"},
                       {AuthorNameRole, "authorName"},
                       {PresentationRole, "presentation"},
                       {BookIdRole, "bookID"}},
                      parent),
      m_searchBookMgr(searchBookMgr)
{}

OnlineSearchingResultPageModel::~OnlineSearchingResultPageModel() = default;

bool OnlineSearchingResultPageModel::insertItem(const OnlineSearchingBookInfo &info)
{
    return insertItem(storedCount(), info);
}

bool OnlineSearchingResultPageModel::insertItem(int index, const OnlineSearchingBookInfo &info)
{
    return insertStoredRow(index, [&] {
        m_itemList.insert(m_itemList.begin() + index,
                          std::make_unique<OnlineSearchingBookInfo>(info));
    });
}

bool OnlineSearchingResultPageModel::removeAllItem()
{
    return removeAllStoredRows([&] { m_itemList.clear(); });
}

bool OnlineSearchingResultPageModel::deleteItem(int index)
{
    return removeStoredRow(index, [&] { m_itemList.erase(m_itemList.begin() + index); });
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

int OnlineSearchingResultPageModel::storedCount() const
{
    return static_cast<int>(m_itemList.size());
}

QVariant OnlineSearchingResultPageModel::storedData(int row, int role) const
{
    const OnlineSearchingBookInfo &item = *m_itemList[row];
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
