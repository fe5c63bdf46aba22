#include "ebookreadernetmgr.h"

#include "accountitem.h"
#include "accountmodel.h"
#include "bookinfo.h"
#include "bookinfoitem.h"
#include "bookinformationmodel.h"
#include "bookinfoxmlhandler.h"
#include "booklistmodel.h"
#include "commondef.h"
#include "deviceinfo.h"
#include "downloadtype.h"
#include "ebooklibraryconnection.h"
#include "ebooklibraryxmlhandler.h"
#include "ebookreaderdownloadxmlhandler.h"
#include "ebookreaderlibrary.h"
#include "ebookreadermyaccountxmlhandler.h"
#include "ebookreadersearchpushkeyxmlhandler.h"
#include "ebookreadersearchresult.h"
#include "ebookreadersearchxmlhandler.h"
#include "ebookreaderusrlogxmlhandler.h"
#include "morecommandviewabstractmodel.h"
#include "myaccountinfo.h"
#include "netshoptitlemodel.h"
#include "searchbookmgr.h"
#include "searchpushkeyword.h"
#include "urlmaker.h"
#include "userlogininfo.h"

#include <QDir>
#include <QQmlContext>
#include <QQuickView>
#include <QSettings>

namespace {

const char *const UidFileName = "/storeuser.ini";
const char *const UidKey = "store/uid";
const char *const OpenFlag = "true";
const int MaxUidLength = 128;

// The id goes into every request and is kept between runs, so only plain id
// characters are taken from an answer.
bool isSaneUid(const QString &value)
{
    if (value.isEmpty() || value.size() > MaxUidLength)
        return false;
    for (const QChar c : value) {
        if (c.isLetterOrNumber())
            continue;
        if (c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.'))
            continue;
        return false;
    }
    return true;
}

// The result of reading an answer. A broken answer that carried no error
// code of its own is still a failure; a well-formed answer in which the store
// reports an error is that error, not a success.
int answerCode(bool parsed, int readerCode)
{
    if (!parsed && readerCode == SERVER_OK)
        return SYSTERM_ERROR;
    return readerCode;
}

QString pageText(int page)
{
    return QString::number(page);
}

} // namespace

EBookReaderNetMgr::EBookReaderNetMgr(QObject *parent) : QObject(parent), m_onlineCheck(this)
{
    m_recommendListModel = new BookListModel(this);
    m_bookListModel = new BookListModel(this);
    m_titleModel = new NetShopTitleModel(this);
    bookInfoModel = new BookInformationModel(this);
    m_moreRecommendModel = new MoreCommandViewAbstractModel(this);
    m_myAccount = new AccountModel(this);
    connect(m_moreRecommendModel, &MoreCommandViewAbstractModel::gotoNextPage, this,
            &EBookReaderNetMgr::GetNextPageBookMoreInfo);
    connect(m_moreRecommendModel, &MoreCommandViewAbstractModel::gotoPrePage, this,
            &EBookReaderNetMgr::GetPrePageBookMoreInfo);
    connect(&m_onlineCheck, &OnlineWatcher::onlineStateChanged, this,
            &EBookReaderNetMgr::onlineCheckResponce);
    loadStoredUid();
}

EBookReaderNetMgr::~EBookReaderNetMgr()
{
    if (m_view) {
        QQmlContext *context = m_view->rootContext();
        for (const char *name :
             {"titlemodelQt", "recomodelQt", "bookmodelQt", "recommenddetailmodel", "bookInfoModel",
              "accountmodel", "bookNetMgr"})
            context->setContextProperty(QLatin1String(name), nullptr);
    }
    // Once the event loop has ended a deferred delete would never run.
    for (EBooklibraryConnection **connection :
         {&m_EBooklibraryConnection, &m_EBookUsrLoginConnection, &m_EBookSearchByKeyConnection,
          &m_EBookMoreConnection, &m_EBookDefKeywordConnection, &m_EBookDownloadConnection,
          &m_EBookInfoConnection, &m_EBookNextMoreConnection, &m_EBookPreMoreConnection,
          &m_EBookDownloadConnectionEx, &m_EBookAccountConnection}) {
        delete *connection;
        *connection = nullptr;
    }
    pReaderLibrary = nullptr;
    m_CacheList.clear();
}

void EBookReaderNetMgr::setDeclarativeView(QQuickView &view)
{
    m_view = &view;
    QQmlContext *context = view.rootContext();
    context->setContextProperty(QStringLiteral("titlemodelQt"), m_titleModel);
    context->setContextProperty(QStringLiteral("recomodelQt"), m_recommendListModel);
    context->setContextProperty(QStringLiteral("bookmodelQt"), m_bookListModel);
    context->setContextProperty(QStringLiteral("recommenddetailmodel"), m_moreRecommendModel);
    context->setContextProperty(QStringLiteral("bookInfoModel"), bookInfoModel);
    context->setContextProperty(QStringLiteral("accountmodel"), m_myAccount);
    context->setContextProperty(QStringLiteral("bookNetMgr"), this);
}

// ---- request plumbing -------------------------------------------------------

void EBookReaderNetMgr::dropConnection(EBooklibraryConnection *&connection)
{
    if (!connection)
        return;
    // Disconnected first, so the abandoned exchange reports nothing; deleted
    // later, because this may run inside that connection's own signal.
    connection->disconnect(connection, nullptr, nullptr, nullptr);
    connection->deleteLater();
    connection = nullptr;
}

void EBookReaderNetMgr::startRequest(EBooklibraryConnection *&connection, const QString &url,
                                     FinishedSlot finished)
{
    dropConnection(connection);
    connection = new EBooklibraryConnection(url);
    connect(connection, &EBooklibraryConnection::finishedRecv, this, finished);
    connection->sendRequest();
}

QByteArray EBookReaderNetMgr::takeBody(EBooklibraryConnection *connection, int &code) const
{
    code = SERVER_ERROR;
    if (!connection)
        return QByteArray();
    const QByteArray body = connection->getRevByteArray();
    if (!body.isEmpty()) {
        code = SERVER_OK;
        return body;
    }
    code = connection->GetHttpErrorCode();
    // The exchange went through but brought no answer record.
    if (code == SERVER_OK)
        code = SERVER_ERROR;
    return QByteArray();
}

template <typename Handler, typename Record>
int EBookReaderNetMgr::readAnswer(EBooklibraryConnection *connection, Record *record,
                                  AnswerUid uidUse)
{
    int code = SERVER_OK;
    const QByteArray body = takeBody(connection, code);
    if (body.isEmpty())
        return code;
    if (uidUse == TakeUid)
        takeUidFrom(body);
    Handler reader;
    const bool parsed = reader.readFile(body, record);
    return answerCode(parsed, reader.errorCode());
}

QString EBookReaderNetMgr::coverUrl(const QString &bookId, const char *size) const
{
    UrlMaker maker(RequestCover);
    maker.coverReqAssemble(bookId, QLatin1String(Cover_Resolution), QLatin1String(size),
                           DeviceInfo::productName(), QLatin1String(Chinese),
                           QLatin1String(Channel), gloabal_UID, QLatin1String(Version),
                           DeviceInfo::imei());
    return maker.getUrl();
}

// ---- store user id ----------------------------------------------------------

QString EBookReaderNetMgr::uidStorePath()
{
    return BookInfoFolder + UidFileName;
}

void EBookReaderNetMgr::loadStoredUid()
{
    if (!gloabal_UID.isEmpty())
        return;
    QSettings settings(uidStorePath(), QSettings::IniFormat);
    const QString stored = settings.value(QLatin1String(UidKey)).toString();
    if (isSaneUid(stored))
        gloabal_UID = stored;
}

void EBookReaderNetMgr::storeUid(const QString &value)
{
    QDir().mkpath(BookInfoFolder);
    QSettings settings(uidStorePath(), QSettings::IniFormat);
    settings.setValue(QLatin1String(UidKey), value);
    settings.sync();
}

void EBookReaderNetMgr::takeUidFrom(const QByteArray &body)
{
    if (!gloabal_UID.isEmpty())
        return;
    const QString text = QString::fromUtf8(body);
    const QLatin1String open("<uid>");
    const int start = text.indexOf(open);
    if (start < 0)
        return;
    const int end = text.indexOf(QLatin1String("</uid>"), start + open.size());
    if (end < 0)
        return;
    const QString value = text.mid(start + open.size(), end - start - open.size()).trimmed();
    if (!isSaneUid(value))
        return;
    gloabal_UID = value;
    storeUid(value);
}

// ---- store front and category pages ----------------------------------------

bool EBookReaderNetMgr::GetOnlineBookInfo(QString catId, bool changeTitle)
{
    if (initCacheData(catId, changeTitle))
        return true;
    titleChangeIndex = changeTitle;
    const QString imei = DeviceInfo::imei();
    const QString ua = DeviceInfo::productName();
    UrlMaker maker(RequestLibrary);
    if (!changeTitle) {
        maker.libraryCatReqAssemble(catId, ua, QLatin1String(Chinese), QLatin1String(Channel),
                                    gloabal_UID, QLatin1String(Version), imei);
    } else if (gloabal_UID.isEmpty()) {
        maker.libraryAndUidReqAssemble(QString(), imei, QLatin1String(Chinese),
                                       QLatin1String(NOVEL), QLatin1String(Channel),
                                       QLatin1String(Version), ua, QLatin1String(OpenFlag));
    } else {
        maker.libraryReqAssemble(gloabal_UID, imei, QLatin1String(Chinese), QLatin1String(NOVEL),
                                 QLatin1String(Channel), QLatin1String(Version), ua);
    }
    m_libraryPageCurrent = true;
    m_libraryPageStoreFront = changeTitle;
    startRequest(m_EBooklibraryConnection, maker.getUrl(), &EBookReaderNetMgr::onlineBookFinished);
    return false;
}

EBookReaderLibrary *EBookReaderNetMgr::cachedPage(const QString &catId, bool storeFront) const
{
    for (const CacheEntry &entry : m_CacheList) {
        // The store front is the page that was loaded as the store front, not
        // whichever category page happened to arrive first.
        const bool matches = storeFront ? entry.storeFront : entry.page->currentId == catId;
        if (matches)
            return entry.page.get();
    }
    return nullptr;
}

bool EBookReaderNetMgr::initCacheData(const QString &catId, bool changeTitle)
{
    EBookReaderLibrary *hit = cachedPage(catId, changeTitle);
    if (!hit)
        return false;
    // The screen shows this page now; a page still on its way is no longer
    // the one it waits for.
    m_libraryPageCurrent = false;
    titleChangeIndex = false;
    pReaderLibrary = hit;
    initOnlineData();
    return true;
}

void EBookReaderNetMgr::keepLatePage(std::unique_ptr<EBookReaderLibrary> page, int code)
{
    // Neither rows nor signals: the screen shows another page by now. A good
    // page still saves asking for it again.
    if (code != SERVER_OK || cachedPage(page->currentId, m_libraryPageStoreFront))
        return;
    m_CacheList.push_back(CacheEntry{std::move(page), m_libraryPageStoreFront});
}

void EBookReaderNetMgr::onlineBookFinished()
{
    auto page = std::make_unique<EBookReaderLibrary>();
    const int code =
        readAnswer<EBookLibraryXmlHandler>(m_EBooklibraryConnection, page.get(), TakeUid);
    if (!m_libraryPageCurrent) {
        keepLatePage(std::move(page), code);
        return;
    }
    m_libraryPageCurrent = false;
    if (code != SERVER_OK) {
        // An error page is never cached: it would stand in for the store front.
        pReaderLibrary = nullptr;
        emit onlineBookRequestResponse(code);
        return;
    }
    pReaderLibrary = page.get();
    initOnlineData();
    m_CacheList.push_back(CacheEntry{std::move(page), m_libraryPageStoreFront});
    emit onlineBookRequestResponse(SERVER_OK);
}

void EBookReaderNetMgr::initOnlineData()
{
    if (!pReaderLibrary)
        return;
    if (m_onlineCheck.isOnline())
        m_netCheckFlag = true;
    if (titleChangeIndex) {
        m_titleModel->removeAllItem();
        for (const auto &cat : pReaderLibrary->catList) {
            if (cat->focus) {
                m_titleModel->prependItem(cat->name);
                m_titleModel->prependIdItem(cat->id);
            } else {
                m_titleModel->insertItem(cat->name);
                m_titleModel->insertIdItem(cat->id);
            }
        }
        titleChangeIndex = false;
    }
    m_recommendListModel->removeAllItem();
    m_bookListModel->removeAllItem();

    BookInfo row;
    for (const auto &item : pReaderLibrary->recommendList) {
        row.m_bookName = item->name;
        row.m_bookId = item->id;
        row.m_picPath = m_netCheckFlag ? coverUrl(item->id, Pic_Size_82_118) : QString();
        m_recommendListModel->insertItem(&row);
    }
    for (const auto &subcat : pReaderLibrary->subcatList) {
        int j = 0;
        for (const auto &book : subcat->BookItemList) {
            row.m_titleName = subcat->subCatName;
            row.m_titleId = subcat->subId;
            row.m_author = book->author;
            row.m_content = book->description;
            row.m_bookName = book->name;
            row.m_bookId = book->id;
            row.m_type =
                book->type == QLatin1String("piclist") ? BookInfo::EPicList : BookInfo::EBookList;
            row.m_picPath = m_netCheckFlag ? coverUrl(book->id, Pic_Size_44_63) : QString();
            row.m_hasTitle = (j == 0);
            m_bookListModel->insertItem(&row);
            ++j;
        }
    }
}

// ---- recommendation list ----------------------------------------------------

void EBookReaderNetMgr::requestRecommendPage(EBooklibraryConnection *&connection, int page,
                                             FinishedSlot finished)
{
    UrlMaker maker(RequestSearch);
    maker.searchMoreReqAssemble(gloabal_UID, DeviceInfo::imei(), QLatin1String(Chinese),
                                QLatin1String(NOVEL), QLatin1String(Channel), moreCommendCid,
                                pageText(page), pageText(RecommendPageSize), QLatin1String(Version),
                                DeviceInfo::productName());
    m_morePagePending = true;
    startRequest(connection, maker.getUrl(), finished);
}

void EBookReaderNetMgr::GetMoreRecommendInfo(QString cid)
{
    // Pages still on their way belong to the list shown before.
    dropConnection(m_EBookNextMoreConnection);
    dropConnection(m_EBookPreMoreConnection);
    m_moreCommendCidPageIndex = 1;
    moreCommendCid = cid;
    requestRecommendPage(m_EBookMoreConnection, 1, &EBookReaderNetMgr::moreRecommendFinished);
}

void EBookReaderNetMgr::GetNextPageBookMoreInfo(int nextPageNum)
{
    // The page is decided by the counter, not by the number the model sends.
    Q_UNUSED(nextPageNum);
    if (moreCommendCid.isEmpty() || m_morePagePending)
        return;
    if (m_moreRecommendModel->getIsMeetBottom())
        return;
    // The first page never arrived: the list still shows the one before, so
    // page 1 must replace it rather than be added below it.
    if (m_moreCommendCidPageIndex == 1) {
        requestRecommendPage(m_EBookMoreConnection, 1, &EBookReaderNetMgr::moreRecommendFinished);
        return;
    }
    requestRecommendPage(m_EBookNextMoreConnection, m_moreCommendCidPageIndex,
                         &EBookReaderNetMgr::moreNextPageRecommendFinished);
}

void EBookReaderNetMgr::GetPrePageBookMoreInfo(int prePageNum)
{
    // Disabled: the pages before the current one are still in the list.
    Q_UNUSED(prePageNum);
}

void EBookReaderNetMgr::moreRecommendFinished()
{
    finishRecommendPage(m_EBookMoreConnection, FillFirst);
}

void EBookReaderNetMgr::moreNextPageRecommendFinished()
{
    finishRecommendPage(m_EBookNextMoreConnection, FillNext);
}

void EBookReaderNetMgr::morePrePageRecommendFinished()
{
    finishRecommendPage(m_EBookPreMoreConnection, FillPrevious);
}

void EBookReaderNetMgr::finishRecommendPage(EBooklibraryConnection *connection, RecommendFill type)
{
    m_morePagePending = false;
    EBookReaderSearchResult pSearchRes;
    const int code = readAnswer<EbookReaderSearchXmlHandler>(connection, &pSearchRes, IgnoreUid);
    if (code != SERVER_OK) {
        emit moreRequestResponse(code);
        return;
    }
    initRecommendMoreData(type, pSearchRes);
    emit moreRequestResponse(SERVER_OK);
}

void EBookReaderNetMgr::initRecommendMoreData(RecommendFill type,
                                              const EBookReaderSearchResult &page)
{
    if (type == FillFirst) {
        m_moreRecommendModel->clearAll();
        m_moreRecommendModel->setIsMeetBottom(false);
    }
    if (type == FillFirst || type == FillNext) {
        ++m_moreCommendCidPageIndex;
        const bool shortPage = page.bookList.size() < RecommendPageSize;
        const bool lastPage = page.totalpage > 0 && page.pageidx >= page.totalpage;
        if (shortPage || lastPage)
            m_moreRecommendModel->setIsMeetBottom(true);
    }
    for (const auto &book : page.bookList) {
        RecommandDetail detail;
        detail.ImagePath = coverUrl(book->id, Pic_Size_44_63);
        detail.BookName = book->bookName;
        detail.AuthorName = book->author;
        detail.Summary = book->description;
        detail.BookID = book->id;
        m_moreRecommendModel->appandItem(detail);
    }
    m_moreRecommendModel->setPageCount(page.totalpage);
    m_moreRecommendModel->setCurrentPageNum(page.pageidx);
    m_moreRecommendModel->setItemNumInOnePage(page.totalItem);
}

// ---- search -----------------------------------------------------------------

void EBookReaderNetMgr::SearchByKeywordEx(SearchBookMgr *searchKeyWord)
{
    searchResult = searchKeyWord;
    if (!searchKeyWord)
        return;
    connect(searchKeyWord, &SearchBookMgr::gotoNextPage, this,
            &EBookReaderNetMgr::GetNextPageSearchBykeywordInfo, Qt::UniqueConnection);
    connect(searchKeyWord, &SearchBookMgr::gotoPrePage, this,
            &EBookReaderNetMgr::GetPrePageSearchBykeywordInfo, Qt::UniqueConnection);
}

void EBookReaderNetMgr::SearchByKeyword(SearchBookMgr *searchKeyWord, QString keyword)
{
    searchResult = searchKeyWord;
    GetSearchPageResultInfo(keyword, 1);
}

void EBookReaderNetMgr::GetNextPageSearchBykeywordInfo(QString keyword, int nextPageNum)
{
    GetSearchPageResultInfo(keyword, nextPageNum);
}

void EBookReaderNetMgr::GetPrePageSearchBykeywordInfo(QString keyword, int prePageNum)
{
    // Disabled: every result page loaded so far stays in the list.
    Q_UNUSED(keyword);
    Q_UNUSED(prePageNum);
}

void EBookReaderNetMgr::GetSearchPageResultInfo(const QString &keyword, int page)
{
    SearchFlag = true;
    UrlMaker maker(RequestSearch);
    maker.searchByKeyReqAssemble(gloabal_UID, DeviceInfo::imei(), QLatin1String(Chinese),
                                 QLatin1String(NOVEL), QLatin1String(Channel), keyword,
                                 pageText(page), pageText(SearchPageSize), QLatin1String(Version),
                                 DeviceInfo::productName());
    startRequest(m_EBookSearchByKeyConnection, maker.getUrl(),
                 &EBookReaderNetMgr::searchByKeyFinished);
}

void EBookReaderNetMgr::searchByKeyFinished()
{
    EBookReaderSearchResult pSearchResResult;
    const int code = readAnswer<EbookReaderSearchXmlHandler>(m_EBookSearchByKeyConnection,
                                                             &pSearchResResult, IgnoreUid);
    if (code != SERVER_OK) {
        emit searchResultResponse(code);
        return;
    }
    if (searchResult) {
        QString tips = pSearchResResult.tips;
        for (const auto &book : pSearchResResult.bookList) {
            SearchBookResult result;
            result.bookid = book->id;
            result.bookname = book->bookName;
            result.author = book->author;
            result.description = book->description;
            result.coverpic = coverUrl(book->id, Pic_Size_44_63);
            searchResult->addSearchedBook(result, tips);
            searchResult->setTotalBookCount(pSearchResResult.totalItem);
        }
    }
    emit searchResultResponse(SERVER_OK);
}

// ---- suggested keywords -----------------------------------------------------

void EBookReaderNetMgr::GetSearchKeyWorldInfo(SearchBookMgr *searchKeyWord)
{
    searchKey = searchKeyWord;
    const QString imei = DeviceInfo::imei();
    const QString ua = DeviceInfo::productName();
    UrlMaker maker(RequestDefaultKeyword);
    if (gloabal_UID.isEmpty()) {
        maker.defKeywordsAndUidReqAssemble(imei, ua, QLatin1String(Chinese), QLatin1String(Channel),
                                           QString(), QLatin1String(Version),
                                           QLatin1String(OpenFlag));
    } else {
        maker.defKeywordsReqAssemble(imei, ua, QLatin1String(Chinese), QLatin1String(Channel),
                                     gloabal_UID, QLatin1String(Version));
    }
    startRequest(m_EBookDefKeywordConnection, maker.getUrl(),
                 &EBookReaderNetMgr::getServerPushKeyWordListFinished);
}

void EBookReaderNetMgr::getServerPushKeyWordListFinished()
{
    SearchPushKeyword pKeyWord;
    const int code = readAnswer<EBookReaderSearchPushKeyXmlHandler>(m_EBookDefKeywordConnection,
                                                                    &pKeyWord, TakeUid);
    if (code != SERVER_OK) {
        emit searchKeyWordResponse(code);
        return;
    }
    if (searchKey) {
        for (const QString &keyword : std::as_const(pKeyWord.keywordList))
            searchKey->addKeyword(keyword);
    }
    emit searchKeyWordResponse(SERVER_OK);
}

// ---- book details -----------------------------------------------------------

void EBookReaderNetMgr::GetBookInfo(QString cid)
{
    UrlMaker maker(RequestBookInfo);
    maker.bookInfoReqAssemble(gloabal_UID, DeviceInfo::imei(), QLatin1String(Chinese),
                              QLatin1String(NOVEL), QLatin1String(Channel), cid,
                              DeviceInfo::productName(), QLatin1String(Version),
                              QLatin1String(SCreenWidth_Meego), QLatin1String(SCreenHeight_Meego));
    startRequest(m_EBookInfoConnection, maker.getUrl(), &EBookReaderNetMgr::getBookInfoFinished);
}

void EBookReaderNetMgr::getBookInfoFinished()
{
    BookInfoItem pBookInfoItem;
    const int code =
        readAnswer<BookInfoXmlHandler>(m_EBookInfoConnection, &pBookInfoItem, IgnoreUid);
    if (code != SERVER_OK) {
        emit bookInfoRequestResponse(code);
        return;
    }
    bookInfoModel->setBookName(pBookInfoItem.bookName);
    bookInfoModel->setAuther(pBookInfoItem.author);
    bookInfoModel->setPublisher(pBookInfoItem.publisher);
    bookInfoModel->setBookInfo(pBookInfoItem.description);
    bookInfoModel->setStatus(pBookInfoItem.status);
    bookInfoModel->setBookID(pBookInfoItem.id);
    bookInfoModel->setBookSize(pBookInfoItem.size);
    bookInfoModel->setBookImage(coverUrl(pBookInfoItem.id, Pic_Size_82_118));
    emit bookInfoRequestResponse(SERVER_OK);
}

// ---- account ----------------------------------------------------------------

void EBookReaderNetMgr::GetAccountInfo()
{
    const QString imei = DeviceInfo::imei();
    const QString ua = DeviceInfo::productName();
    UrlMaker maker(RequestMyAccountInfo);
    if (gloabal_UID.isEmpty()) {
        maker.myAccountAndUidReqAssemble(ua, QLatin1String(Chinese), QLatin1String(Channel),
                                         QString(), QLatin1String(Version), imei,
                                         QLatin1String(OpenFlag));
    } else {
        maker.myAccountReqAssemble(ua, QLatin1String(Chinese), QLatin1String(Channel), gloabal_UID,
                                   QLatin1String(Version), imei);
    }
    startRequest(m_EBookAccountConnection, maker.getUrl(),
                 &EBookReaderNetMgr::getAccountRequestFinished);
}

void EBookReaderNetMgr::getAccountRequestFinished()
{
    MyAccountInfo pMyAccountInfo;
    const int code = readAnswer<EBookReaderMyAccountXmlHandler>(m_EBookAccountConnection,
                                                                &pMyAccountInfo, TakeUid);
    if (code != SERVER_OK) {
        emit myAccountRequestResponse(code);
        return;
    }
    m_myAccount->removeAllItem();
    AccountItem item;
    for (const auto &line : pMyAccountInfo.LinesList) {
        item.m_itemId = line->name;
        item.m_itemContent = line->value;
        m_myAccount->insertItem(&item);
    }
    emit myAccountRequestResponse(SERVER_OK);
}

// ---- login ------------------------------------------------------------------

void EBookReaderNetMgr::GetUsrLoginInfo()
{
    UrlMaker maker(RequestLogin);
    maker.loginReqAssemble(uid, DeviceInfo::imei(), QLatin1String(SCreenWidth_Meego),
                           QLatin1String(SCreenHeight_Meego), QLatin1String(Version),
                           QLatin1String(Chinese), QLatin1String(Channel),
                           DeviceInfo::productName(), QLatin1String(AboutVer));
    startRequest(m_EBookUsrLoginConnection, maker.getUrl(),
                 &EBookReaderNetMgr::getUsrLoginInfoFinished);
}

void EBookReaderNetMgr::getUsrLoginInfoFinished()
{
    // A broken or refused login is reported too, so the screen does not wait
    // forever.
    UserLoginInfo info;
    const int code =
        readAnswer<EbookReaderUsrLogXmlHandler>(m_EBookUsrLoginConnection, &info, IgnoreUid);
    if (code != SERVER_OK) {
        emit sendRequestUid(QString(), code);
        return;
    }
    uid = info.usrId;
    emit sendRequestUid(uid, SERVER_OK);
}

void EBookReaderNetMgr::GetUserUid(QString &userUid)
{
    userUid = uid;
}

// ---- download order ---------------------------------------------------------

void EBookReaderNetMgr::GetDownloadInfo(QString cid)
{
    UrlMaker maker(RequestDownload);
    maker.downLoadReqAssemble(gloabal_UID, DeviceInfo::imei(), cid,
                              QLatin1String(SCreenWidth_Meego), QLatin1String(SCreenHeight_Meego),
                              DeviceInfo::productName(), QLatin1String(Chinese),
                              QLatin1String(Channel), QLatin1String(Version));
    startRequest(m_EBookDownloadConnection, maker.getUrl(),
                 &EBookReaderNetMgr::getDownloadInfoFinished);
}

void EBookReaderNetMgr::GetDownloadInfoEx(QString cid, QString pid, QString sid)
{
    UrlMaker maker(RequestDownload);
    maker.downLoadReqAssembleEx(pid, sid, gloabal_UID, cid, QLatin1String(SCreenWidth_Meego),
                                QLatin1String(SCreenHeight_Meego), DeviceInfo::productName(),
                                QLatin1String(Chinese), QLatin1String(Channel),
                                QLatin1String(Version), DeviceInfo::imei());
    startRequest(m_EBookDownloadConnectionEx, maker.getUrl(),
                 &EBookReaderNetMgr::getDownloadInfoFinishedEx);
}

void EBookReaderNetMgr::getDownloadInfoFinished()
{
    finishDownloadOrder(m_EBookDownloadConnection);
}

void EBookReaderNetMgr::getDownloadInfoFinishedEx()
{
    finishDownloadOrder(m_EBookDownloadConnectionEx);
}

void EBookReaderNetMgr::finishDownloadOrder(EBooklibraryConnection *connection)
{
    // The record lives only during the emission; receivers copy what they need.
    auto pDownloadtype = std::make_unique<Downloadtype>();
    const int code =
        readAnswer<EBookReaderDownloadXmlHandler>(connection, pDownloadtype.get(), IgnoreUid);
    if (code != SERVER_OK) {
        emit downloadRequestResponse(nullptr, code);
        return;
    }
    emit downloadRequestResponse(pDownloadtype.get(), SERVER_OK);
}

// ---- cancel and online state ------------------------------------------------

void EBookReaderNetMgr::CancelHttp()
{
    if (m_EBookSearchByKeyConnection && SearchFlag) {
        if (searchResult)
            searchResult->MinPageNumber();
        SearchFlag = false;
    }
    for (EBooklibraryConnection **connection :
         {&m_EBooklibraryConnection, &m_EBookUsrLoginConnection, &m_EBookSearchByKeyConnection,
          &m_EBookMoreConnection, &m_EBookDefKeywordConnection, &m_EBookDownloadConnection,
          &m_EBookInfoConnection, &m_EBookNextMoreConnection, &m_EBookPreMoreConnection,
          &m_EBookDownloadConnectionEx, &m_EBookAccountConnection})
        dropConnection(*connection);
    m_morePagePending = false;
}

void EBookReaderNetMgr::onlineCheckResponce(bool checkFlag)
{
    if (!checkFlag)
        m_netCheckFlag = false;
}
