// The network manager against a loopback store that answers with fixed
// documents and records every request.

#include "accountmodel.h"
#include "bookinformationmodel.h"
#include "booklistmodel.h"
#include "commondef.h"
#include "downloadtype.h"
#include "ebookreadernetmgr.h"
#include "fixtureserver.h"
#include "morecommandviewabstractmodel.h"
#include "netshoptitlemodel.h"
#include "onlinesearchingresultpagemodel.h"
#include "searchbookmgr.h"

#include <QNetworkProxy>
#include <QQmlContext>
#include <QQuickView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>
#include <memory>

namespace {

QString queryValue(const QUrl &url, const QString &name)
{
    return QUrlQuery(url).queryItemValue(name, QUrl::FullyDecoded);
}

bool hasQueryItem(const QUrl &url, const QString &name)
{
    return QUrlQuery(url).hasQueryItem(name);
}

QByteArray storeFront(const QByteArray &uidElement)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><vr ret=\"0\">" + uidElement +
           "<catlist><item id=\"c1\" name=\"都市\"/><item id=\"c2\" name=\"玄幻\" "
           "focus=\"true\"/></catlist><cat id=\"front\"/>"
           "<recommend><item id=\"r1\" name=\"推荐之书\"/></recommend>"
           "<subcat id=\"s1\" name=\"热门\"><item id=\"b1\" type=\"piclist\" name=\"一\" "
           "author=\"甲\"/><item id=\"b2\" type=\"booklist\" name=\"二\">简介</item></subcat>"
           "</vr>";
}

QByteArray categoryPage(const QString &cat)
{
    return "<vr ret=\"0\"><cat id=\"" + cat.toUtf8() +
           "\"/><subcat id=\"s9\" name=\"分类\"><item id=\"b9\" type=\"booklist\" "
           "name=\"九\">x</item></subcat></vr>";
}

// One page of a list of `total` books, 12 to a page.
QByteArray searchPage(int page, int total, const QByteArray &tips = "tips")
{
    const int pages = (total + 11) / 12;
    QByteArray doc = "<vr ret=\"0\" totalpage=\"" + QByteArray::number(pages) + "\" pageidx=\"" +
                     QByteArray::number(page) + "\" totalitem=\"" + QByteArray::number(total) +
                     "\"><tips>" + tips + "</tips>";
    for (int i = (page - 1) * 12; i < qMin(total, page * 12); ++i) {
        doc += "<item id=\"id" + QByteArray::number(i) + "\" type=\"booklist\" name=\"book" +
               QByteArray::number(i) + "\">d</item>";
    }
    return doc + "</vr>";
}

} // namespace

class TestEBookReaderNetMgr : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void storeFrontFillsModelsAndCaches();
    void categoryPagesCachedById();
    void storeErrorPageNotCached();
    void uidTakenOnceUsedLaterAndKept();
    void uidMarkers_data();
    void uidMarkers();
    void resultCodes_data();
    void resultCodes();
    void refusedConnection();
    void recommendationPagesEachOnce();
    void recommendationFailedOrCancelledPageAskedAgain();
    void recommendationFirstPageFailed();
    void searchPagesEachOnce();
    void searchCancelledOrFailedPageAskedAgain();
    void loginKeepsItsOwnUid();
    void downloadOrderValidDuringSignal();
    void contextPropertiesRegisteredAndCleared();

private:
    std::unique_ptr<EBookReaderNetMgr> newManager();

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<FixtureServer> m_server;
};

void TestEBookReaderNetMgr::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestEBookReaderNetMgr::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    qputenv("ZARVOREADER_ROOT", m_root->path().toUtf8());
    m_server = std::make_unique<FixtureServer>();
    QVERIFY(m_server->start());
    qputenv("ZARVOREADER_STORE", m_server->hostPort().toUtf8());
    gloabal_UID.clear();
}

void TestEBookReaderNetMgr::cleanup()
{
    m_server.reset();
    m_root.reset();
    gloabal_UID.clear();
}

std::unique_ptr<EBookReaderNetMgr> TestEBookReaderNetMgr::newManager()
{
    return std::make_unique<EBookReaderNetMgr>();
}

void TestEBookReaderNetMgr::storeFrontFillsModelsAndCaches()
{
    m_server->setRoute([](const QUrl &) {
        return FixtureServer::Reply{200, storeFront("<uid>U1</uid>")};
    });
    auto mgr = newManager();
    QSignalSpy spy(mgr.get(), &EBookReaderNetMgr::onlineBookRequestResponse);
    QVERIFY(!mgr->GetOnlineBookInfo(QString(), true));
    QVERIFY(spy.wait());
    QCOMPARE(spy.at(0).at(0).toInt(), 200);

    // The focused category comes first.
    QCOMPARE(mgr->titleModel()->rowCount(), 2);
    QCOMPARE(mgr->titleModel()->getIdString(0), QStringLiteral("c2"));
    QCOMPARE(mgr->recommendListModel()->getCount(), 1);
    QVERIFY(mgr->recommendListModel()->getBookInfo(0)->m_picPath.contains("size=82_118"));
    BookListModel *books = mgr->bookListModel();
    QCOMPARE(books->getCount(), 2);
    QCOMPARE(books->getBookInfo(0)->m_type, BookInfo::EPicList);
    QVERIFY(books->getBookInfo(0)->m_hasTitle);
    QVERIFY(!books->getBookInfo(1)->m_hasTitle);
    QCOMPARE(books->getBookInfo(1)->m_content, QStringLiteral("简介"));

    // A second store front, whatever the category id, comes from the cache
    // at once and reports nothing.
    books->removeAllItem();
    QVERIFY(mgr->GetOnlineBookInfo(QStringLiteral("anything"), true));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(books->getCount(), 2);
    QCOMPARE(m_server->requestsTo("library.action").size(), 1);
}

void TestEBookReaderNetMgr::categoryPagesCachedById()
{
    m_server->setRoute([](const QUrl &url) {
        const QString cat = queryValue(url, "cat");
        if (cat == QLatin1String("novel"))
            return FixtureServer::Reply{200, storeFront(QByteArray())};
        return FixtureServer::Reply{200, categoryPage(cat)};
    });
    gloabal_UID = QStringLiteral("known");
    auto mgr = newManager();
    QSignalSpy spy(mgr.get(), &EBookReaderNetMgr::onlineBookRequestResponse);

    QVERIFY(!mgr->GetOnlineBookInfo(QStringLiteral("c1"), false));
    QVERIFY(spy.wait());
    const QUrl first = m_server->requestsTo("library.action").at(0);
    QCOMPARE(queryValue(first, "cat"), QStringLiteral("c1"));
    QVERIFY(!hasQueryItem(first, "openflag"));
    QCOMPARE(mgr->bookListModel()->getBookID(0), QStringLiteral("b9"));

    QVERIFY(mgr->GetOnlineBookInfo(QStringLiteral("c1"), false));
    QVERIFY(!mgr->GetOnlineBookInfo(QStringLiteral("c2"), false));
    QVERIFY(spy.wait());
    // A cached category page is not taken for the store front.
    QVERIFY(!mgr->GetOnlineBookInfo(QString(), true));
    QVERIFY(spy.wait());
    QCOMPARE(mgr->titleModel()->rowCount(), 2);
    QCOMPARE(m_server->requestsTo("library.action").size(), 3);
    QCOMPARE(spy.count(), 3);
}

void TestEBookReaderNetMgr::storeErrorPageNotCached()
{
    bool refuse = true;
    m_server->setRoute([&refuse](const QUrl &) {
        if (refuse)
            return FixtureServer::Reply{
                200, "<vr><error_code>400</error_code><error>40003 busy</error></vr>"};
        return FixtureServer::Reply{200, storeFront(QByteArray())};
    });
    auto mgr = newManager();
    QSignalSpy spy(mgr.get(), &EBookReaderNetMgr::onlineBookRequestResponse);
    QVERIFY(!mgr->GetOnlineBookInfo(QString(), true));
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), 40003);
    QCOMPARE(mgr->titleModel()->rowCount(), 0);

    refuse = false;
    QVERIFY(!mgr->GetOnlineBookInfo(QString(), true));
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), 200);
    QCOMPARE(mgr->titleModel()->rowCount(), 2);
}

void TestEBookReaderNetMgr::uidTakenOnceUsedLaterAndKept()
{
    m_server->setRoute([](const QUrl &url) {
        if (url.path().endsWith("library.action"))
            return FixtureServer::Reply{200, storeFront("<uid>U-1</uid>")};
        if (url.path().endsWith("keywords.action"))
            return FixtureServer::Reply{
                200, "<vb ret=\"0\"><uid>OTHER</uid><keys count=\"1\"><key>k</key></keys></vb>"};
        if (url.path().endsWith("myaccountinfo.action"))
            return FixtureServer::Reply{200, "<vr ret=\"0\"><uid>THIRD</uid></vr>"};
        return FixtureServer::Reply{200, "<vb title=\"t\"><id>b</id></vb>"};
    });
    {
        auto mgr = newManager();
        SearchBookMgr search(mgr.get());
        QSignalSpy front(mgr.get(), &EBookReaderNetMgr::onlineBookRequestResponse);
        mgr->GetOnlineBookInfo(QString(), true);
        QVERIFY(front.wait());
        const QUrl frontUrl = m_server->requestsTo("library.action").at(0);
        QCOMPARE(queryValue(frontUrl, "openflag"), QStringLiteral("true"));
        QVERIFY(!hasQueryItem(frontUrl, "uid"));
        QCOMPARE(gloabal_UID, QStringLiteral("U-1"));

        // Later answers carrying another id do not replace it.
        QSignalSpy keys(mgr.get(), &EBookReaderNetMgr::searchKeyWordResponse);
        search.getRecmmendKeywordList();
        QVERIFY(keys.wait());
        QSignalSpy account(mgr.get(), &EBookReaderNetMgr::myAccountRequestResponse);
        mgr->GetAccountInfo();
        QVERIFY(account.wait());
        QSignalSpy info(mgr.get(), &EBookReaderNetMgr::bookInfoRequestResponse);
        mgr->GetBookInfo(QStringLiteral("b1"));
        QVERIFY(info.wait());
        QCOMPARE(gloabal_UID, QStringLiteral("U-1"));
        for (const QString action :
             {"keywords.action", "myaccountinfo.action", "bookinfo.action"}) {
            const QUrl url = m_server->requestsTo(action).at(0);
            QCOMPARE(queryValue(url, "uid"), QStringLiteral("U-1"));
            QVERIFY(!hasQueryItem(url, "openflag"));
        }
    }

    // A restart finds the id again and never asks for a new one.
    gloabal_UID.clear();
    m_server->clearRequests();
    auto restarted = newManager();
    QCOMPARE(gloabal_UID, QStringLiteral("U-1"));
    QSignalSpy front(restarted.get(), &EBookReaderNetMgr::onlineBookRequestResponse);
    restarted->GetOnlineBookInfo(QString(), true);
    QVERIFY(front.wait());
    const QUrl url = m_server->requestsTo("library.action").at(0);
    QCOMPARE(queryValue(url, "uid"), QStringLiteral("U-1"));
    QVERIFY(!hasQueryItem(url, "openflag"));
}

void TestEBookReaderNetMgr::uidMarkers_data()
{
    QTest::addColumn<QByteArray>("uidText");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QByteArray("<uid>abc-9</uid>") << QStringLiteral("abc-9");
    QTest::newRow("no closing marker") << QByteArray("<uid>abc") << QString();
    QTest::newRow("no opening marker") << QByteArray("abc</uid>") << QString();
    QTest::newRow("empty") << QByteArray("<uid></uid>") << QString();
    QTest::newRow("query characters") << QByteArray("<uid>a&amp;b=c</uid>") << QString();
    QTest::newRow("markup inside") << QByteArray("<uid><x/>1</uid>") << QString();
}

void TestEBookReaderNetMgr::uidMarkers()
{
    QFETCH(QByteArray, uidText);
    QFETCH(QString, expected);
    m_server->setRoute([uidText](const QUrl &) {
        return FixtureServer::Reply{200, "<vr ret=\"0\">" + uidText +
                                             "<line name=\"a\" value=\"1\"/></vr>"};
    });
    auto mgr = newManager();
    QSignalSpy spy(mgr.get(), &EBookReaderNetMgr::myAccountRequestResponse);
    mgr->GetAccountInfo();
    QVERIFY(spy.wait());
    QCOMPARE(gloabal_UID, expected);
    // Nothing unusable is kept for the next run either.
    gloabal_UID.clear();
    auto restarted = newManager();
    QCOMPARE(gloabal_UID, expected);
}

void TestEBookReaderNetMgr::resultCodes_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("code");
    QTest::newRow("not found") << 404 << QByteArray("<vb/>") << -200;
    QTest::newRow("forbidden") << 403 << QByteArray() << -200;
    QTest::newRow("empty answer") << 200 << QByteArray() << -200;
    QTest::newRow("broken document") << 200 << QByteArray("<vb><author>x</vb>") << -300;
    QTest::newRow("broken after error code")
        << 200 << QByteArray("<vb><error_code>401</error_code><oops") << 401;
    QTest::newRow("error code refined")
        << 200 << QByteArray("<vb><error_code>400</error_code><error>40012 no</error><x") << 40012;
    QTest::newRow("well formed error answer")
        << 200 << QByteArray("<vb><error_code>500</error_code></vb>") << 500;
}

void TestEBookReaderNetMgr::resultCodes()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(int, code);
    bool good = true;
    m_server->setRoute([&good, status, body](const QUrl &) {
        if (good)
            return FixtureServer::Reply{200, "<vb title=\"Kept\"><id>k1</id></vb>"};
        return FixtureServer::Reply{status, body};
    });
    auto mgr = newManager();
    QSignalSpy spy(mgr.get(), &EBookReaderNetMgr::bookInfoRequestResponse);
    mgr->GetBookInfo(QStringLiteral("k1"));
    QVERIFY(spy.wait());
    good = false;
    mgr->GetBookInfo(QStringLiteral("k2"));
    QVERIFY(spy.wait());
    QCOMPARE(spy.at(1).at(0).toInt(), code);
    QCOMPARE(mgr->bookInformationModel()->getBookName(), QStringLiteral("Kept"));
}

void TestEBookReaderNetMgr::refusedConnection()
{
    // A port that was just free and is closed again refuses the connection.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    qputenv("ZARVOREADER_STORE", QByteArray("127.0.0.1:") + QByteArray::number(port));
    auto mgr = newManager();
    QSignalSpy front(mgr.get(), &EBookReaderNetMgr::onlineBookRequestResponse);
    QSignalSpy login(mgr.get(), &EBookReaderNetMgr::sendRequestUid);
    QSignalSpy order(mgr.get(), &EBookReaderNetMgr::downloadRequestResponse);
    mgr->GetOnlineBookInfo(QString(), true);
    mgr->GetUsrLoginInfo();
    mgr->GetDownloadInfo(QStringLiteral("b1"));
    QVERIFY(front.count() == 1 || front.wait());
    QVERIFY(login.count() == 1 || login.wait());
    QVERIFY(order.count() == 1 || order.wait());
    QCOMPARE(front.at(0).at(0).toInt(), -100);
    QCOMPARE(login.at(0).at(0).toString(), QString());
    QCOMPARE(login.at(0).at(1).toInt(), -100);
    QCOMPARE(order.at(0).at(0).value<Downloadtype *>(), nullptr);
    QCOMPARE(order.at(0).at(1).toInt(), -100);
    QCOMPARE(mgr->titleModel()->rowCount(), 0);
}

void TestEBookReaderNetMgr::recommendationPagesEachOnce()
{
    m_server->setRoute([](const QUrl &url) {
        return FixtureServer::Reply{200, searchPage(queryValue(url, "pageidx").toInt(), 30)};
    });
    auto mgr = newManager();
    MoreCommandViewAbstractModel *model = mgr->moreRecommendModel();
    QSignalSpy spy(mgr.get(), &EBookReaderNetMgr::moreRequestResponse);
    mgr->GetMoreRecommendInfo(QStringLiteral("list7"));
    // The model asks while the first page is still on its way: ignored.
    model->clickPageIcon(1);
    QVERIFY(spy.wait());
    QCOMPARE(model->rowCount(), 12);
    QVERIFY(!model->getIsMeetBottom());

    model->clickPageIcon(1);
    model->clickPageIcon(1);
    QVERIFY(spy.wait());
    QCOMPARE(model->rowCount(), 24);
    // Going back asks for nothing.
    QVERIFY(model->clickPageIcon(0));
    model->clickPageIcon(1);
    QVERIFY(spy.wait());
    QCOMPARE(model->rowCount(), 30);
    QVERIFY(model->getIsMeetBottom());
    QCOMPARE(model->getCurrentPageNum(), 3);
    QCOMPARE(model->getPageCount(), 3);
    QCOMPARE(model->getItemNumInOnePage(), 30);
    // Past the last page nothing is asked for.
    model->clickPageIcon(1);

    QStringList pages;
    for (const QUrl &url : m_server->requestsTo("search.action")) {
        QCOMPARE(queryValue(url, "catid"), QStringLiteral("list7"));
        pages << queryValue(url, "pageidx");
    }
    QCOMPARE(pages, QStringList({"1", "2", "3"}));
    QCOMPARE(spy.count(), 3);

    // A new list starts again from page 1 and from the top.
    mgr->GetMoreRecommendInfo(QStringLiteral("list8"));
    QVERIFY(spy.wait());
    QCOMPARE(model->rowCount(), 12);
    QVERIFY(!model->getIsMeetBottom());
}

void TestEBookReaderNetMgr::recommendationFailedOrCancelledPageAskedAgain()
{
    int failuresLeft = 1;
    m_server->setRoute([&failuresLeft](const QUrl &url) {
        const int page = queryValue(url, "pageidx").toInt();
        if (page == 2 && failuresLeft-- > 0)
            return FixtureServer::Reply{500, QByteArray()};
        return FixtureServer::Reply{200, searchPage(page, 40)};
    });
    auto mgr = newManager();
    MoreCommandViewAbstractModel *model = mgr->moreRecommendModel();
    QSignalSpy spy(mgr.get(), &EBookReaderNetMgr::moreRequestResponse);
    mgr->GetMoreRecommendInfo(QStringLiteral("list"));
    QVERIFY(spy.wait());
    model->clickPageIcon(1);
    QVERIFY(spy.wait());
    QVERIFY(spy.last().at(0).toInt() != 200);
    QCOMPARE(model->rowCount(), 12);

    // Cancelled before its answer: nothing is reported, nothing is skipped.
    model->clickPageIcon(1);
    mgr->CancelHttp();
    model->clickPageIcon(1);
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), 200);
    model->clickPageIcon(1);
    QVERIFY(spy.wait());
    QCOMPARE(model->rowCount(), 36);
    QCOMPARE(model->data(model->index(35), MoreCommandViewAbstractModel::BookIdRole).toString(),
             QStringLiteral("id35"));

    QStringList pages;
    for (const QUrl &url : m_server->requestsTo("search.action"))
        pages << queryValue(url, "pageidx");
    // The cancelled request may or may not have reached the store.
    pages.removeDuplicates();
    QCOMPARE(pages, QStringList({"1", "2", "3"}));
}

void TestEBookReaderNetMgr::recommendationFirstPageFailed()
{
    bool failNew = true;
    m_server->setRoute([&failNew](const QUrl &url) {
        if (queryValue(url, "catid") == QLatin1String("new") && failNew)
            return FixtureServer::Reply{404, QByteArray()};
        return FixtureServer::Reply{200, searchPage(queryValue(url, "pageidx").toInt(), 20)};
    });
    auto mgr = newManager();
    MoreCommandViewAbstractModel *model = mgr->moreRecommendModel();
    QSignalSpy spy(mgr.get(), &EBookReaderNetMgr::moreRequestResponse);
    mgr->GetMoreRecommendInfo(QStringLiteral("old"));
    QVERIFY(spy.wait());
    mgr->GetMoreRecommendInfo(QStringLiteral("new"));
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), -200);
    QCOMPARE(model->rowCount(), 12);

    // The next page of the new list is its first page, shown in place of the
    // old list.
    failNew = false;
    model->clickPageIcon(1);
    QVERIFY(spy.wait());
    QCOMPARE(model->rowCount(), 12);
    const QUrl last = m_server->requestsTo("search.action").last();
    QCOMPARE(queryValue(last, "catid"), QStringLiteral("new"));
    QCOMPARE(queryValue(last, "pageidx"), QStringLiteral("1"));
}

void TestEBookReaderNetMgr::searchPagesEachOnce()
{
    m_server->setRoute([](const QUrl &url) {
        return FixtureServer::Reply{200,
                                    searchPage(queryValue(url, "pageidx").toInt(), 25, "找到25本")};
    });
    auto mgr = newManager();
    SearchBookMgr search(mgr.get());
    OnlineSearchingResultPageModel *results = search.resultModel();
    QSignalSpy spy(&search, &SearchBookMgr::searchResultResponse);
    search.setKeywords(QStringLiteral("李白 诗"));
    search.getSearchResultList();
    QVERIFY(spy.wait());
    QCOMPARE(results->rowCount(), 12);
    QCOMPARE(results->getOnlineResultTitle(), QStringLiteral("找到25本"));
    QVERIFY(results->getPageUpGrayFlag());
    QVERIFY(!results->getPageDownGrayFlag());
    QCOMPARE(search.totalPageNum(), 3);

    // The typed text may change while the pages of a search are shown.
    search.setKeywords(QStringLiteral("other"));
    QVERIFY(search.pageDown());
    QVERIFY(!search.pageDown());
    QVERIFY(spy.wait());
    QCOMPARE(results->rowCount(), 24);
    QCOMPARE(search.currentPageNum(), 2);
    QVERIFY(!results->handlePageup());
    QVERIFY(results->handlePagedown());
    QVERIFY(spy.wait());
    QCOMPARE(results->rowCount(), 25);
    QVERIFY(results->getPageDownGrayFlag());
    QVERIFY(!search.pageDown());

    QStringList pages;
    for (const QUrl &url : m_server->requestsTo("search.action")) {
        QCOMPARE(queryValue(url, "keyword"), QStringLiteral("李白 诗"));
        QCOMPARE(queryValue(url, "numperpage"), QStringLiteral("12"));
        pages << queryValue(url, "pageidx");
    }
    QCOMPARE(pages, QStringList({"1", "2", "3"}));
    const QByteArray raw = m_server->requestsTo("search.action").at(0).toEncoded();
    QVERIFY(raw.contains("keyword=%E6%9D%8E%E7%99%BD%20%E8%AF%97"));
}

void TestEBookReaderNetMgr::searchCancelledOrFailedPageAskedAgain()
{
    int failuresLeft = 1;
    m_server->setRoute([&failuresLeft](const QUrl &url) {
        const int page = queryValue(url, "pageidx").toInt();
        if (page == 2 && failuresLeft-- > 0)
            return FixtureServer::Reply{404, QByteArray()};
        return FixtureServer::Reply{200, searchPage(page, 40)};
    });
    auto mgr = newManager();
    SearchBookMgr search(mgr.get());
    QSignalSpy spy(&search, &SearchBookMgr::searchResultResponse);
    search.setKeywords(QStringLiteral("k"));
    search.getSearchResultList();
    QVERIFY(spy.wait());

    QVERIFY(search.pageDown());
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), -200);
    QCOMPARE(search.currentPageNum(), 1);

    QVERIFY(search.pageDown());
    mgr->CancelHttp();
    QCOMPARE(search.currentPageNum(), 1);
    // A second cancel with nothing outstanding changes nothing.
    mgr->CancelHttp();
    QCOMPARE(search.currentPageNum(), 1);

    QVERIFY(search.pageDown());
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), 200);
    QCOMPARE(search.currentPageNum(), 2);
    // A cancel after the answer arrived keeps the page shown.
    mgr->CancelHttp();
    QCOMPARE(search.currentPageNum(), 2);
    QVERIFY(search.pageDown());
    QVERIFY(spy.wait());
    QCOMPARE(search.resultModel()->rowCount(), 36);
    QCOMPARE(search.resultModel()->getBookID(35), QStringLiteral("id35"));
}

void TestEBookReaderNetMgr::loginKeepsItsOwnUid()
{
    m_server->setRoute([](const QUrl &) {
        return FixtureServer::Reply{200, "<vr ret=\"0\"><uid>L-9</uid><prefix>p</prefix></vr>"};
    });
    auto mgr = newManager();
    QSignalSpy spy(mgr.get(), &EBookReaderNetMgr::sendRequestUid);
    mgr->GetUsrLoginInfo();
    QVERIFY(spy.wait());
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("L-9"));
    QCOMPARE(spy.at(0).at(1).toInt(), 200);
    QString userUid;
    mgr->GetUserUid(userUid);
    QCOMPARE(userUid, QStringLiteral("L-9"));
    QVERIFY(gloabal_UID.isEmpty());

    mgr->GetUsrLoginInfo();
    QVERIFY(spy.wait());
    const QUrl second = m_server->requestsTo("userlogin.action").at(1);
    QCOMPARE(queryValue(second, "uid"), QStringLiteral("L-9"));
    QCOMPARE(queryValue(second, "abver"), QStringLiteral("2.0.0"));
}

void TestEBookReaderNetMgr::downloadOrderValidDuringSignal()
{
    m_server->setRoute([](const QUrl &url) {
        return FixtureServer::Reply{
            200, "<vr ret=\"download\" type=\"vbp\"><title>t</title><content>书</content><link>"
                 "http://h/f?cid=" +
                     queryValue(url, "cid").toUtf8() + "&amp;x=1</link><size>42</size></vr>"};
    });
    auto mgr = newManager();
    QString link;
    int size = -1;
    int code = 0;
    connect(mgr.get(), &EBookReaderNetMgr::downloadRequestResponse,
            [&](Downloadtype *order, int errorCode) {
                code = errorCode;
                if (order) {
                    link = order->link;
                    size = order->size;
                }
            });
    QSignalSpy spy(mgr.get(), &EBookReaderNetMgr::downloadRequestResponse);
    mgr->GetDownloadInfo(QStringLiteral("b42"));
    QVERIFY(spy.wait());
    QCOMPARE(code, 200);
    QCOMPARE(link, QStringLiteral("http://h/f?cid=b42&x=1"));
    QCOMPARE(size, 42);

    mgr->GetDownloadInfoEx(QStringLiteral("b42"), QStringLiteral("p1"), QStringLiteral("s1"));
    QVERIFY(spy.wait());
    const QUrl url = m_server->requestsTo("download.action").at(1);
    QCOMPARE(queryValue(url, "pid"), QStringLiteral("p1"));
    QCOMPARE(queryValue(url, "sid"), QStringLiteral("s1"));
}

void TestEBookReaderNetMgr::contextPropertiesRegisteredAndCleared()
{
    const QStringList names = {
        "titlemodelQt",  "recomodelQt",  "bookmodelQt", "recommenddetailmodel",
        "bookInfoModel", "accountmodel", "bookNetMgr"};
    const QStringList searchNames = {"searchMgrModel", "keySearchModel", "resultSearchModel"};
    QQuickView view;
    auto mgr = newManager();
    mgr->setDeclarativeView(view);
    auto search = std::make_unique<SearchBookMgr>(mgr.get());
    search->setDeclarativeView(view);
    QQmlContext *context = view.rootContext();
    for (const QString &name : names + searchNames)
        QVERIFY2(context->contextProperty(name).value<QObject *>() != nullptr, qPrintable(name));
    QCOMPARE(context->contextProperty("bookNetMgr").value<QObject *>(), mgr.get());
    QCOMPARE(context->contextProperty("searchMgrModel").value<QObject *>(), search.get());
    search.reset();
    for (const QString &name : searchNames)
        QVERIFY2(context->contextProperty(name).value<QObject *>() == nullptr, qPrintable(name));
    mgr.reset();
    for (const QString &name : names)
        QVERIFY2(context->contextProperty(name).value<QObject *>() == nullptr, qPrintable(name));
}

QTEST_MAIN(TestEBookReaderNetMgr)
#include "tst_ebookreadernetmgr.moc"
