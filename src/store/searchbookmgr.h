#ifndef SEARCHBOOKMGR_H
#define SEARCHBOOKMGR_H

#include "searchbookresult.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <vector>

class EBookReaderNetMgr;
class OnlineSearchingKeyPageModel;
class OnlineSearchingResultPageModel;
class QQuickView;

// The last paging key pressed on the result page.
enum PageKey
{
    KeyNull = 0,
    PageUp = 1,
    PageDown = 2
};

// Drives the two store search pages: suggested keywords and paged results.
//
// Paging: m_curPageNum is the number of the last result page requested or
// shown. A page-down advances it once, before its request; the answer does
// not advance it again, and a page request that fails or is cancelled puts it
// back. Only one page request is outstanding at a time, so every page is
// requested exactly once and none is skipped.
//
// Page-up is disabled: the result list keeps every page loaded so far, so
// there is no earlier page to go back to. Its button stays gray.
class SearchBookMgr : public QObject
{
    Q_OBJECT
public:
    static constexpr int PageSize = 12;

    // The parent is the network manager, which answers the requests.
    explicit SearchBookMgr(QObject *parent);
    ~SearchBookMgr() override;

    void setDeclarativeView(QQuickView &view);

    void addSearchedBook(SearchBookResult &result, QString &tips);
    void addKeyword(const QString &keyword);
    void removeAllSearchedBook();
    void removeAllKeyword();
    void setKeywords(const QString &keywords);
    QString getKeywords();
    bool pageDown();
    bool pageUp();
    void setTotalBookCount(int count);
    void setCurrentPageNum(int num);
    void MinPageNumber();

    int currentPageNum() const { return m_curPageNum; }
    int totalPageNum() const { return m_totalPageNum; }
    OnlineSearchingKeyPageModel *keywordModel() const { return m_keywordModel; }
    OnlineSearchingResultPageModel *resultModel() const { return m_resultModel; }

    Q_INVOKABLE void getRecmmendKeywordList();
    Q_INVOKABLE void getSearchResultList();

signals:
    void searchKeyWordResponse(int errorCode);
    void searchResultResponse(int errorCode);
    bool gotoNextPage(QString keyword, int toPage);
    bool gotoPrePage(QString keyword, int toPage);

private slots:
    void updateSearchedBook(int errorCode);
    void updateKeywords(int errorCode);

private:
    void setButtonGrayFlag();
    // Puts the page counter back before an unanswered page-down.
    void dropPendingPage();

    std::vector<std::unique_ptr<SearchBookResult>> m_searchedBookList;
    QStringList m_keywordsList;
    QString m_keywords;
    OnlineSearchingKeyPageModel *m_keywordModel = nullptr;
    OnlineSearchingResultPageModel *m_resultModel = nullptr;
    QString m_resultTips;
    EBookReaderNetMgr *m_parent = nullptr;
    int m_curPageNum = 1;
    int m_totalPageNum = 1;
    PageKey m_pageKeyState = KeyNull;
    QPointer<QQuickView> m_view;
    // The keyword of the search being paged; the input text may change
    // while its pages are shown.
    QString m_searchedKeyword;
    // Page number of the outstanding result request, 0 when none.
    int m_pendingPage = 0;
};

#endif // SEARCHBOOKMGR_H
