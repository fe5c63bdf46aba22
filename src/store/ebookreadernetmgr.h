#ifndef EBOOKREADERNETMGR_H
#define EBOOKREADERNETMGR_H

#include "onlinewatcher.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

class AccountModel;
class BookInformationModel;
class BookListModel;
class Downloadtype;
class EBookReaderLibrary;
class EBookReaderSearchResult;
class EBooklibraryConnection;
class MoreCommandViewAbstractModel;
class NetShopTitleModel;
class QQuickView;
class SearchBookMgr;

// The store client's single entry point: forms each request, sends it on the
// connection of its kind, reads the answer and fills the store models or
// hands the data on, then reports a result code.
//
// Result codes: 200 success; the request channel's codes (-100 network,
// -200 content, -300 other) when no answer came; the store's own error code
// when its answer carries one ("error_code", refined by "error"), and then
// the models keep what they showed. An answer that came but is empty counts
// as a missing record (-200); one that does not parse and carries no code of
// its own counts as -300, so no failure is ever reported as success.
//
// Recommendation paging: m_moreCommendCidPageIndex is the next page to ask
// for. It advances only when a page has arrived and been shown, so a failed
// or cancelled page is asked for again and no page is skipped; while a page
// of the list is on its way no further page is requested, and none after the
// last one. Going back a page is disabled: every page loaded stays in the
// list, so asking for an earlier one would only repeat rows.
class EBookReaderNetMgr : public QObject
{
    Q_OBJECT
public:
    static constexpr int RecommendPageSize = 12;
    static constexpr int SearchPageSize = 12;

    explicit EBookReaderNetMgr(QObject *parent = nullptr);
    ~EBookReaderNetMgr() override;

    Q_INVOKABLE bool GetOnlineBookInfo(QString catId, bool changeTitle);
    Q_INVOKABLE void CancelHttp();
    Q_INVOKABLE void GetMoreRecommendInfo(QString cid);
    Q_INVOKABLE void GetBookInfo(QString cid);
    Q_INVOKABLE void GetAccountInfo();
    Q_INVOKABLE void GetUsrLoginInfo();

    void SearchByKeyword(SearchBookMgr *searchKeyWord, QString keyword);
    void SearchByKeywordEx(SearchBookMgr *searchKeyWord);
    void GetSearchKeyWorldInfo(SearchBookMgr *searchKeyWord);
    void GetDownloadInfo(QString cid);
    void GetDownloadInfoEx(QString cid, QString pid, QString sid);
    void GetUserUid(QString &userUid);
    void setDeclarativeView(QQuickView &view);

    NetShopTitleModel *titleModel() const { return m_titleModel; }
    BookListModel *recommendListModel() const { return m_recommendListModel; }
    BookListModel *bookListModel() const { return m_bookListModel; }
    MoreCommandViewAbstractModel *moreRecommendModel() const { return m_moreRecommendModel; }
    BookInformationModel *bookInformationModel() const { return bookInfoModel; }
    AccountModel *accountModel() const { return m_myAccount; }

    // Where the store user id is kept between runs.
    static QString uidStorePath();

public slots:
    void onlineBookFinished();
    void searchByKeyFinished();
    void moreRecommendFinished();
    void getServerPushKeyWordListFinished();
    void getDownloadInfoFinished();
    void getDownloadInfoFinishedEx();
    void getUsrLoginInfoFinished();
    void getBookInfoFinished();
    void GetNextPageBookMoreInfo(int nextPageNum);
    void GetPrePageBookMoreInfo(int prePageNum);
    void morePrePageRecommendFinished();
    void moreNextPageRecommendFinished();
    void getAccountRequestFinished();
    void GetNextPageSearchBykeywordInfo(QString keyword, int nextPageNum);
    void GetPrePageSearchBykeywordInfo(QString keyword, int prePageNum);
    void onlineCheckResponce(bool checkFlag);

signals:
    void onlineBookRequestResponse(int errorCode);
    void moreRequestResponse(int errorCode);
    void searchKeyWordResponse(int errorCode);
    void searchResultResponse(int errorCode);
    void downloadRequestResponse(Downloadtype *downloadData, int errorCode);
    void getUidResponse(int errorCode);
    void bookInfoRequestResponse(int errorCode);
    void myAccountRequestResponse(int errorCode);
    void sendRequestUid(QString userUid, int errorCode);
    void updateSearchResultList();

private:
    using FinishedSlot = void (EBookReaderNetMgr::*)();
    enum RecommendFill
    {
        FillPrevious = 0,
        FillFirst = 1,
        FillNext = 2
    };

    struct CacheEntry
    {
        std::unique_ptr<EBookReaderLibrary> page;
        bool storeFront = false;
    };

    void startRequest(EBooklibraryConnection *&connection, const QString &url,
                      FinishedSlot finished);
    static void dropConnection(EBooklibraryConnection *&connection);
    // The body of a finished exchange, or empty with code set to the failure.
    QByteArray takeBody(EBooklibraryConnection *connection, int &code) const;
    // Whether an answer may hand out the store user id.
    enum AnswerUid
    {
        IgnoreUid,
        TakeUid
    };
    // Reads a finished exchange's answer into record with a Handler: the
    // channel's failure when no answer came, else the answer's own code.
    template <typename Handler, typename Record>
    int readAnswer(EBooklibraryConnection *connection, Record *record, AnswerUid uidUse);

    // The cached store front (storeFront) or category page catId; null when
    // none is cached.
    EBookReaderLibrary *cachedPage(const QString &catId, bool storeFront) const;
    bool initCacheData(const QString &catId, bool changeTitle);
    // Caches a page that arrived after the screen had moved on.
    void keepLatePage(std::unique_ptr<EBookReaderLibrary> page, int code);
    void initOnlineData();
    void initRecommendMoreData(RecommendFill type, const EBookReaderSearchResult &page);
    void requestRecommendPage(EBooklibraryConnection *&connection, int page, FinishedSlot finished);
    void GetSearchPageResultInfo(const QString &keyword, int page);
    void finishRecommendPage(EBooklibraryConnection *connection, RecommendFill type);
    void finishDownloadOrder(EBooklibraryConnection *connection);

    void takeUidFrom(const QByteArray &body);
    void loadStoredUid();
    void storeUid(const QString &value);
    QString coverUrl(const QString &bookId, const char *size) const;

    EBooklibraryConnection *m_EBooklibraryConnection = nullptr;
    EBooklibraryConnection *m_EBookUsrLoginConnection = nullptr;
    EBooklibraryConnection *m_EBookSearchByKeyConnection = nullptr;
    EBooklibraryConnection *m_EBookMoreConnection = nullptr;
    EBooklibraryConnection *m_EBookDefKeywordConnection = nullptr;
    EBooklibraryConnection *m_EBookDownloadConnection = nullptr;
    EBooklibraryConnection *m_EBookInfoConnection = nullptr;
    EBooklibraryConnection *m_EBookNextMoreConnection = nullptr;
    EBooklibraryConnection *m_EBookPreMoreConnection = nullptr;
    EBooklibraryConnection *m_EBookDownloadConnectionEx = nullptr;
    EBooklibraryConnection *m_EBookAccountConnection = nullptr;
    BookListModel *m_recommendListModel = nullptr;
    BookListModel *m_bookListModel = nullptr;
    NetShopTitleModel *m_titleModel = nullptr;
    EBookReaderLibrary *pReaderLibrary = nullptr;
    std::vector<CacheEntry> m_CacheList;
    MoreCommandViewAbstractModel *m_moreRecommendModel = nullptr;
    QPointer<SearchBookMgr> searchKey;
    QPointer<SearchBookMgr> searchResult;
    QString uid;
    BookInformationModel *bookInfoModel = nullptr;
    bool titleChangeIndex = false;
    QString moreCommendCid;
    AccountModel *m_myAccount = nullptr;
    int m_moreCommendCidPageIndex = 1;
    bool SearchFlag = false;
    QPointer<QQuickView> m_view;
    OnlineWatcher m_onlineCheck;
    bool m_netCheckFlag = true;
    // A page of the recommendation list is on its way.
    bool m_morePagePending = false;
    // The store front or category page on its way is still the one the
    // screen waits for; a cache hit shown meanwhile makes it a late page.
    bool m_libraryPageCurrent = false;
    // The page on its way is the store front rather than a category page.
    bool m_libraryPageStoreFront = false;
};

#endif // EBOOKREADERNETMGR_H
