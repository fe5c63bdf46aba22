#include "searchbookmgr.h"

#include "commondef.h"
#include "ebookreadernetmgr.h"
#include "onlinesearchingbookinfo.h"
#include "onlinesearchingkeypagemodel.h"
#include "onlinesearchingresultpagemodel.h"

#include <QQmlContext>
#include <QQuickView>

namespace {

// Result titles of 16 characters or more become 13 characters and "...".
QString shortenedTitle(const QString &name)
{
    if (name.size() < 16)
        return name;
    return name.left(13) + QStringLiteral("...");
}

} // namespace

SearchBookMgr::SearchBookMgr(QObject *parent)
    : QObject(parent), m_parent(qobject_cast<EBookReaderNetMgr *>(parent))
{
    m_keywordModel = new OnlineSearchingKeyPageModel(*this, this);
    m_resultModel = new OnlineSearchingResultPageModel(*this, this);
    if (!m_parent)
        return;
    connect(m_parent, &EBookReaderNetMgr::searchKeyWordResponse, this,
            &SearchBookMgr::updateKeywords);
    connect(m_parent, &EBookReaderNetMgr::searchResultResponse, this,
            &SearchBookMgr::updateSearchedBook);
    m_parent->SearchByKeywordEx(this);
}

SearchBookMgr::~SearchBookMgr()
{
    if (!m_view)
        return;
    QQmlContext *context = m_view->rootContext();
    context->setContextProperty(QStringLiteral("keySearchModel"), nullptr);
    context->setContextProperty(QStringLiteral("resultSearchModel"), nullptr);
    context->setContextProperty(QStringLiteral("searchMgrModel"), nullptr);
}

void SearchBookMgr::setDeclarativeView(QQuickView &view)
{
    m_view = &view;
    QQmlContext *context = view.rootContext();
    context->setContextProperty(QStringLiteral("searchMgrModel"), this);
    context->setContextProperty(QStringLiteral("keySearchModel"), m_keywordModel);
    context->setContextProperty(QStringLiteral("resultSearchModel"), m_resultModel);
}

void SearchBookMgr::addSearchedBook(SearchBookResult &result, QString &tips)
{
    m_searchedBookList.push_back(std::make_unique<SearchBookResult>(result));
    m_resultTips = tips;
}

void SearchBookMgr::addKeyword(const QString &keyword)
{
    m_keywordsList.append(keyword);
}

void SearchBookMgr::removeAllSearchedBook()
{
    m_searchedBookList.clear();
}

void SearchBookMgr::removeAllKeyword()
{
    m_keywordsList.clear();
}

void SearchBookMgr::setKeywords(const QString &keywords)
{
    m_keywords = keywords;
}

QString SearchBookMgr::getKeywords()
{
    return m_keywords;
}

void SearchBookMgr::getRecmmendKeywordList()
{
    m_keywordsList.clear();
    if (m_parent)
        m_parent->GetSearchKeyWorldInfo(this);
}

void SearchBookMgr::updateKeywords(int errorCode)
{
    // A failed fetch keeps the keywords shown before.
    if (errorCode == SERVER_OK) {
        m_keywordModel->removeAllItem();
        for (const QString &keyword : std::as_const(m_keywordsList))
            m_keywordModel->insertItem(keyword);
    }
    emit searchKeyWordResponse(errorCode);
}

void SearchBookMgr::getSearchResultList()
{
    m_resultModel->removeAllItem();
    m_resultModel->setOnlineResultTitle(QStringLiteral(""));
    m_searchedBookList.clear();
    m_totalPageNum = 1;
    m_curPageNum = 1;
    m_pageKeyState = KeyNull;
    m_searchedKeyword = m_keywords;
    setButtonGrayFlag();
    if (!m_parent)
        return;
    m_pendingPage = 1;
    m_parent->SearchByKeyword(this, m_searchedKeyword);
}

void SearchBookMgr::updateSearchedBook(int errorCode)
{
    if (errorCode != SERVER_OK) {
        // The page was not shown, so the next page-down asks for it again.
        dropPendingPage();
        m_searchedBookList.clear();
        setButtonGrayFlag();
        emit searchResultResponse(errorCode);
        return;
    }
    m_pendingPage = 0;
    m_resultModel->setOnlineResultTitle(m_resultTips);
    for (const auto &result : m_searchedBookList) {
        OnlineSearchingBookInfo info;
        info.setBookID(result->bookid);
        info.setBookName(shortenedTitle(result->bookname));
        info.setAuthorName(result->author);
        info.setIconPath(result->coverpic);
        info.setBookPresentation(result->description);
        m_resultModel->insertItem(info);
    }
    // Shown once; a later answer must not add these rows again.
    m_searchedBookList.clear();
    setButtonGrayFlag();
    emit searchResultResponse(errorCode);
}

void SearchBookMgr::setButtonGrayFlag()
{
    m_resultModel->setPageUpGrayFlag(true);
    m_resultModel->setPageDownGrayFlag(!(m_curPageNum < m_totalPageNum));
}

bool SearchBookMgr::pageDown()
{
    m_pageKeyState = PageDown;
    // One page request at a time: a second press while a page is loading
    // would otherwise skip the page being loaded.
    if (m_pendingPage != 0)
        return false;
    if (m_curPageNum >= m_totalPageNum)
        return false;
    m_searchedBookList.clear();
    ++m_curPageNum;
    m_pendingPage = m_curPageNum;
    emit gotoNextPage(m_searchedKeyword, m_curPageNum);
    return true;
}

bool SearchBookMgr::pageUp()
{
    m_pageKeyState = PageUp;
    return false;
}

void SearchBookMgr::setTotalBookCount(int count)
{
    if (count < 0)
        count = 0;
    m_totalPageNum = (count + PageSize - 1) / PageSize;
}

void SearchBookMgr::setCurrentPageNum(int num)
{
    m_curPageNum = num;
    setButtonGrayFlag();
}

void SearchBookMgr::MinPageNumber()
{
    dropPendingPage();
    setButtonGrayFlag();
}

void SearchBookMgr::dropPendingPage()
{
    if (m_pendingPage > 1)
        m_curPageNum = m_pendingPage - 1;
    m_pendingPage = 0;
}
