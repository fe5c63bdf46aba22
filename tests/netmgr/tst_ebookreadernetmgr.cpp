// The network manager against a loopback store that answers with fixed
// documents and records every request. What the readers, the channel and
// the models do on their own is tested beside them; here only what the
// manager adds: caching, the user id, result codes and paging.

#include "../common/testdataroot.h"
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
#include <QTest>
#include <QUrlQuery>
#include <memory>

using Reply = FixtureServer::Reply;

namespace {

QString queryValue(const QUrl &url, const QString &name)
{
    return QUrlQuery(url).queryItemValue(name, QUrl::FullyDecoded);
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

// One page of a list of `total` books, 12 to a page.
QByteArray listPage(const QUrl &url, int total, const QByteArray &tips = "tips")
{
    const int page = queryValue(url, "pageidx").toInt();
    QByteArray doc = "<vr ret=\"0\" totalpage=\"" + QByteArray::number((total + 11) / 12) +
                     "\" pageidx=\"" + QByteArray::number(page) + "\" totalitem=\"" +
                     QByteArray::number(total) + "\"><tips>" + tips + "</tips>";
    for (int i = (page - 1) * 12; i < qMin(total, page * 12); ++i) {
        doc += "<item id=\"id" + QByteArray::number(i) + "\" type=\"booklist\" name=\"book" +
               QByteArray::number(i) + "\">d</item>";
    }
    return doc + "</vr>";
}

// Runs the call and waits for the signal it ends in.
template <typename Object, typename Signal, typename Call>
bool answered(Object *object, Signal signal, Call call)
{
    QSignalSpy spy(object, signal);
    call();
    return spy.wait();
}

} // namespace

class TestEBookReaderNetMgr : public QObject
{
    Q_OBJECT

    TestDataRoot m_root;
    std::unique_ptr<FixtureServer> m_server;

    // The pages asked for, each once however often a cancelled one went out.
    QStringList pagesAsked(const QString &catid = QString()) const
    {
        QStringList pages;
        for (const QUrl &url : m_server->requestsTo("search.action")) {
            if (catid.isEmpty() || queryValue(url, "catid") == catid)
                pages << queryValue(url, "pageidx");
        }
        pages.removeDuplicates();
        return pages;
    }

private slots:
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    void init()
    {
        QVERIFY(m_root.renew());
        m_server = std::make_unique<FixtureServer>();
        QVERIFY(m_server->isListening());
        qputenv("ZARVOREADER_STORE", m_server->hostPort().toUtf8());
        gloabal_UID.clear();
    }

    void libraryPagesCached()
    {
        bool refuse = true;
        m_server->setRoute([&refuse](const QUrl &url) {
            if (refuse)
                return Reply{200, "<vr><error_code>400</error_code><error>40003 busy</error></vr>"};
            if (queryValue(url, "cat") != "c1")
                return Reply{200, storeFront("<uid>U1</uid>")};
            return Reply{200, "<vr><cat id=\"c1\"/><subcat id=\"s9\"><item id=\"b9\" "
                              "type=\"booklist\" name=\"九\">x</item></subcat></vr>"};
        });
        EBookReaderNetMgr mgr;
        QSignalSpy spy(&mgr, &EBookReaderNetMgr::onlineBookRequestResponse);
        // An error answer is reported and not kept.
        QVERIFY(!mgr.GetOnlineBookInfo(QString(), true));
        QVERIFY(spy.wait());
        QCOMPARE(spy.last().at(0).toInt(), 40003);
        QCOMPARE(mgr.titleModel()->rowCount(), 0);

        refuse = false;
        QVERIFY(!mgr.GetOnlineBookInfo(QStringLiteral("c1"), false));
        QVERIFY(spy.wait());
        QCOMPARE(mgr.bookListModel()->getBookID(0), QStringLiteral("b9"));
        // Cache hits fill the models at once and report nothing; a cached
        // category page is not taken for the store front.
        QVERIFY(mgr.GetOnlineBookInfo(QStringLiteral("c1"), false));
        QVERIFY(!mgr.GetOnlineBookInfo(QString(), true));
        QVERIFY(spy.wait());
        QCOMPARE(spy.last().at(0).toInt(), 200);
        // The focused category comes first.
        QCOMPARE(mgr.titleModel()->getIdString(0), QStringLiteral("c2"));
        QVERIFY(mgr.recommendListModel()->getBookInfo(0)->m_picPath.contains("size=82_118"));
        BookListModel *books = mgr.bookListModel();
        QCOMPARE(books->getBookInfo(0)->m_type, BookInfo::EPicList);
        QVERIFY(books->getBookInfo(0)->m_hasTitle && !books->getBookInfo(1)->m_hasTitle);
        QCOMPARE(books->getBookInfo(1)->m_content, QStringLiteral("简介"));

        // Another store front, whatever the category id, comes from the cache.
        books->removeAllItem();
        QVERIFY(mgr.GetOnlineBookInfo(QStringLiteral("anything"), true));
        QCOMPARE(books->getCount(), 2);
        QCOMPARE(spy.count(), 3);
        QCOMPARE(m_server->requestsTo("library.action").size(), 3);
    }

    void lateCategoryPageOnlyFillsCache()
    {
        m_server->setRoute([](const QUrl &url) {
            if (queryValue(url, "cat") != "c1")
                return Reply{200, storeFront(QByteArray())};
            // The user id it carries shows when the late page has been read.
            return Reply{200,
                         "<vr><uid>U9</uid><cat id=\"c1\"/><subcat id=\"s9\"><item id=\"b9\" "
                         "type=\"booklist\" name=\"九\">x</item></subcat></vr>",
                         FixtureServer::Held};
        });
        EBookReaderNetMgr mgr;
        QSignalSpy spy(&mgr, &EBookReaderNetMgr::onlineBookRequestResponse);
        QVERIFY(!mgr.GetOnlineBookInfo(QString(), true));
        QVERIFY(spy.wait());
        // A slow category, then back to the store front from the cache.
        QVERIFY(!mgr.GetOnlineBookInfo(QStringLiteral("c1"), false));
        QTRY_COMPARE(m_server->requestsTo("library.action").size(), 2);
        QVERIFY(mgr.GetOnlineBookInfo(QString(), true));
        m_server->releaseHeld();
        QTRY_COMPARE(gloabal_UID, QStringLiteral("U9"));

        QCOMPARE(spy.count(), 1);
        QCOMPARE(mgr.bookListModel()->getBookID(0), QStringLiteral("b1"));
        QCOMPARE(mgr.titleModel()->getIdString(0), QStringLiteral("c2"));
        // The late page was kept: the category now opens without asking.
        QVERIFY(mgr.GetOnlineBookInfo(QStringLiteral("c1"), false));
        QCOMPARE(mgr.bookListModel()->getBookID(0), QStringLiteral("b9"));
        QCOMPARE(m_server->requestsTo("library.action").size(), 2);
    }

    void uidTakenOnceUsedLaterAndKept()
    {
        m_server->setRoute([](const QUrl &url) {
            if (url.path().endsWith("library.action"))
                return Reply{200, storeFront("<uid>U-1</uid>")};
            const QByteArray root = url.path().endsWith("userlogin.action") ? "vr" : "vb";
            return Reply{200, "<" + root + "><uid>OTHER</uid></" + root + ">"};
        });
        {
            EBookReaderNetMgr mgr;
            SearchBookMgr search(&mgr);
            QVERIFY(answered(&mgr, &EBookReaderNetMgr::onlineBookRequestResponse,
                             [&] { mgr.GetOnlineBookInfo(QString(), true); }));
            const QUrl frontUrl = m_server->requestsTo("library.action").at(0);
            QCOMPARE(queryValue(frontUrl, "openflag"), QStringLiteral("true"));
            QVERIFY(!QUrlQuery(frontUrl).hasQueryItem("uid"));
            // Later answers carrying another id do not replace it.
            QVERIFY(answered(&mgr, &EBookReaderNetMgr::searchKeyWordResponse,
                             [&] { search.getRecmmendKeywordList(); }));
            QVERIFY(answered(&mgr, &EBookReaderNetMgr::myAccountRequestResponse,
                             [&] { mgr.GetAccountInfo(); }));
            QVERIFY(answered(&mgr, &EBookReaderNetMgr::bookInfoRequestResponse,
                             [&] { mgr.GetBookInfo("b1"); }));
            // The login's id is its own: reported, sent with the next login,
            // never taken for the store's.
            QSignalSpy login(&mgr, &EBookReaderNetMgr::sendRequestUid);
            mgr.GetUsrLoginInfo();
            QVERIFY(login.wait());
            QCOMPARE(login.at(0), QVariantList({QStringLiteral("OTHER"), 200}));
            mgr.GetUsrLoginInfo();
            QVERIFY(login.wait());
            QCOMPARE(queryValue(m_server->requestsTo("userlogin.action").at(1), "uid"), "OTHER");
            QCOMPARE(gloabal_UID, QStringLiteral("U-1"));
            for (const QString action :
                 {"keywords.action", "myaccountinfo.action", "bookinfo.action"}) {
                const QUrl url = m_server->requestsTo(action).at(0);
                QCOMPARE(queryValue(url, "uid"), QStringLiteral("U-1"));
                QVERIFY(!QUrlQuery(url).hasQueryItem("openflag"));
            }
        }
        // A restart finds the id again and never asks for a new one.
        gloabal_UID.clear();
        EBookReaderNetMgr restarted;
        QVERIFY(answered(&restarted, &EBookReaderNetMgr::onlineBookRequestResponse,
                         [&] { restarted.GetOnlineBookInfo(QString(), true); }));
        const QUrl url = m_server->requestsTo("library.action").at(1);
        QCOMPARE(queryValue(url, "uid"), QStringLiteral("U-1"));
        QVERIFY(!QUrlQuery(url).hasQueryItem("openflag"));
    }

    void uidMarkers_data()
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

    void uidMarkers()
    {
        QFETCH(QByteArray, uidText);
        m_server->setRoute([uidText](const QUrl &) {
            return Reply{200, "<vr ret=\"0\">" + uidText + "<line name=\"a\" value=\"1\"/></vr>"};
        });
        {
            EBookReaderNetMgr mgr;
            QVERIFY(answered(&mgr, &EBookReaderNetMgr::myAccountRequestResponse,
                             [&] { mgr.GetAccountInfo(); }));
            QTEST(gloabal_UID, "expected");
        }
        // What is kept, and only that, is found again by the next run.
        gloabal_UID.clear();
        EBookReaderNetMgr restarted;
        QTEST(gloabal_UID, "expected");
    }

    // How the channel's and the readers' outcomes reach the screens; the
    // outcomes themselves are tested beside the channel and the readers.
    void resultCodes_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("code");
        QTest::newRow("not found") << 404 << QByteArray("<vb/>") << -200;
        QTest::newRow("empty answer") << 200 << QByteArray() << -200;
        QTest::newRow("broken document") << 200 << QByteArray("<vb><author>x</vb>") << -300;
        QTest::newRow("error code, then broken") << 200
                                                 << QByteArray("<vb><error_code>400</error_code>"
                                                               "<error>40012 no</error><x")
                                                 << 40012;
    }

    void resultCodes()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        bool good = true;
        m_server->setRoute([&good, status, body](const QUrl &) {
            return good ? Reply{200, "<vb title=\"Kept\"><id>k1</id></vb>"} : Reply{status, body};
        });
        EBookReaderNetMgr mgr;
        QSignalSpy spy(&mgr, &EBookReaderNetMgr::bookInfoRequestResponse);
        mgr.GetBookInfo(QStringLiteral("k1"));
        QVERIFY(spy.wait());
        good = false;
        mgr.GetBookInfo(QStringLiteral("k2"));
        QVERIFY(spy.wait());
        QTEST(spy.at(1).at(0).toInt(), "code");
        // A failed answer leaves the page shown as it was.
        QCOMPARE(mgr.bookInformationModel()->getBookName(), QStringLiteral("Kept"));
    }

    void refusedConnectionReportsEmptyResults()
    {
        m_server->close();
        EBookReaderNetMgr mgr;
        QSignalSpy front(&mgr, &EBookReaderNetMgr::onlineBookRequestResponse);
        QSignalSpy login(&mgr, &EBookReaderNetMgr::sendRequestUid);
        QSignalSpy order(&mgr, &EBookReaderNetMgr::downloadRequestResponse);
        mgr.GetOnlineBookInfo(QString(), true);
        mgr.GetUsrLoginInfo();
        mgr.GetDownloadInfo(QStringLiteral("b1"));
        QTRY_VERIFY(front.count() == 1 && login.count() == 1 && order.count() == 1);
        QCOMPARE(front.at(0).at(0).toInt(), -100);
        QCOMPARE(login.at(0), QVariantList({QString(), -100}));
        QCOMPARE(order.at(0).at(0).value<Downloadtype *>(), nullptr);
        QCOMPARE(order.at(0).at(1).toInt(), -100);
        QCOMPARE(mgr.titleModel()->rowCount(), 0);
    }

    void recommendationPagesEachOnce()
    {
        // The new list's first page fails once, then its second page.
        QStringList failing = {"new/1", "new/2"};
        m_server->setRoute([&failing](const QUrl &url) {
            const QString key = queryValue(url, "catid") + "/" + queryValue(url, "pageidx");
            if (failing.removeOne(key))
                return Reply{key.endsWith('1') ? 404 : 500, QByteArray()};
            return Reply{200, listPage(url, 30)};
        });
        EBookReaderNetMgr mgr;
        MoreCommandViewAbstractModel *model = mgr.moreRecommendModel();
        QSignalSpy spy(&mgr, &EBookReaderNetMgr::moreRequestResponse);
        auto nextPage = [&] {
            model->clickPageIcon(1);
            return spy.wait();
        };
        mgr.GetMoreRecommendInfo(QStringLiteral("old"));
        // The model asks while the first page is still on its way: ignored.
        QVERIFY(nextPage());
        // The first page of a new list fails: the old list stays, and the next
        // page asked for is the new list's first, shown in place of the old.
        mgr.GetMoreRecommendInfo(QStringLiteral("new"));
        QVERIFY(spy.wait());
        QCOMPARE(spy.last().at(0).toInt(), -200);
        QCOMPARE(model->rowCount(), 12);
        QVERIFY(nextPage());
        QCOMPARE(model->rowCount(), 12);
        QCOMPARE(model->data(model->index(0), MoreCommandViewAbstractModel::BookIdRole), "id0");

        // A failed middle page, then one cancelled before its answer: nothing
        // is reported for the cancelled one and no page is skipped.
        QVERIFY(nextPage());
        QCOMPARE(spy.last().at(0).toInt(), -300);
        model->clickPageIcon(1);
        mgr.CancelHttp();
        model->clickPageIcon(1);
        QVERIFY(nextPage());
        QCOMPARE(spy.last().at(0).toInt(), 200);
        QVERIFY(nextPage());
        QCOMPARE(model->rowCount(), 30);
        QCOMPARE(model->data(model->index(29), MoreCommandViewAbstractModel::BookIdRole), "id29");
        QVERIFY(model->getIsMeetBottom());
        QCOMPARE(model->getCurrentPageNum(), 3);
        QCOMPARE(model->getPageCount(), 3);
        QCOMPARE(model->getItemNumInOnePage(), 30);
        // Past the last page nothing is asked for.
        model->clickPageIcon(1);
        QCOMPARE(spy.count(), 6);
        QCOMPARE(pagesAsked("old"), QStringList({"1"}));
        QCOMPARE(pagesAsked("new"), QStringList({"1", "2", "3"}));
    }

    void searchPagesEachOnceFailedPageAskedAgain()
    {
        int failuresLeft = 1;
        m_server->setRoute([&failuresLeft](const QUrl &url) {
            if (queryValue(url, "pageidx") == "2" && failuresLeft-- > 0)
                return Reply{404, QByteArray()};
            return Reply{200, listPage(url, 37, "找到37本")};
        });
        EBookReaderNetMgr mgr;
        SearchBookMgr search(&mgr);
        OnlineSearchingResultPageModel *results = search.resultModel();
        QSignalSpy spy(&search, &SearchBookMgr::searchResultResponse);
        search.setKeywords(QStringLiteral("李白 诗"));
        search.getSearchResultList();
        QVERIFY(spy.wait());
        QCOMPARE(results->getOnlineResultTitle(), QStringLiteral("找到37本"));

        // A failed page puts the counter back.
        QVERIFY(search.pageDown());
        QVERIFY(spy.wait());
        QCOMPARE(spy.last().at(0).toInt(), -200);
        QCOMPARE(search.currentPageNum(), 1);
        // So does a cancel; a second one with nothing outstanding changes nothing.
        QVERIFY(search.pageDown());
        mgr.CancelHttp();
        mgr.CancelHttp();
        QCOMPARE(search.currentPageNum(), 1);

        // The typed text may change while the pages of a search are shown.
        search.setKeywords(QStringLiteral("other"));
        QVERIFY(search.pageDown());
        QVERIFY(!search.pageDown());
        QVERIFY(spy.wait());
        QCOMPARE(search.currentPageNum(), 2);
        // A cancel after the answer arrived keeps the page shown.
        mgr.CancelHttp();
        QCOMPARE(search.currentPageNum(), 2);
        QVERIFY(results->handlePagedown());
        QVERIFY(spy.wait());
        QVERIFY(search.pageDown());
        QVERIFY(spy.wait());
        QCOMPARE(results->rowCount(), 37);
        QCOMPARE(results->getBookID(36), QStringLiteral("id36"));
        QVERIFY(!search.pageDown());

        QCOMPARE(pagesAsked(), QStringList({"1", "2", "3", "4"}));
        for (const QUrl &url : m_server->requestsTo("search.action"))
            QCOMPARE(queryValue(url, "keyword"), QStringLiteral("李白 诗"));
    }

    void typedValuesReachStoreIntact_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("ampersand") << "A&B";
        QTest::newRow("percent") << "50%41";
        QTest::newRow("hash") << "李白#";
        QTest::newRow("plus, equals, space") << "a+b=c d";
    }

    // Whatever the user types, or an answer hands back as an id, arrives as
    // it was, and the parameters after it arrive too.
    void typedValuesReachStoreIntact()
    {
        QFETCH(QString, typed);
        m_server->setRoute([](const QUrl &url) { return Reply{200, listPage(url, 37)}; });
        EBookReaderNetMgr mgr;
        SearchBookMgr search(&mgr);
        QVERIFY(answered(&mgr, &EBookReaderNetMgr::searchResultResponse,
                         [&] { mgr.SearchByKeyword(&search, typed); }));
        QVERIFY(answered(&mgr, &EBookReaderNetMgr::searchResultResponse,
                         [&] { mgr.GetNextPageSearchBykeywordInfo(typed, 2); }));
        QVERIFY(answered(&mgr, &EBookReaderNetMgr::bookInfoRequestResponse,
                         [&] { mgr.GetBookInfo(typed); }));

        QCOMPARE(pagesAsked(), QStringList({"1", "2"}));
        QCOMPARE(search.resultModel()->getBookID(12), QStringLiteral("id12"));
        for (const QUrl &url : m_server->requestsTo("search.action")) {
            QCOMPARE(queryValue(url, "keyword"), typed);
            QCOMPARE(queryValue(url, "numperpage"), QStringLiteral("12"));
        }
        const QUrl details = m_server->requestsTo("bookinfo.action").value(0);
        QCOMPARE(queryValue(details, "bookid"), typed);
        QCOMPARE(queryValue(details, "height"), QStringLiteral("800"));
    }

    void downloadOrderValidDuringSignal()
    {
        m_server->setRoute([](const QUrl &url) {
            return Reply{200, "<vr ret=\"download\"><link>http://h/f?cid=" +
                                  queryValue(url, "cid").toUtf8() + "</link><size>42</size></vr>"};
        });
        EBookReaderNetMgr mgr;
        QVariantList seen;
        connect(&mgr, &EBookReaderNetMgr::downloadRequestResponse,
                [&seen](Downloadtype *order, int code) {
                    seen = {code, order ? order->link : QString(), order ? order->size : -1};
                });
        QVERIFY(answered(&mgr, &EBookReaderNetMgr::downloadRequestResponse,
                         [&] { mgr.GetDownloadInfo(QStringLiteral("b42")); }));
        QCOMPARE(seen, QVariantList({200, QStringLiteral("http://h/f?cid=b42"), 42}));

        QVERIFY(answered(&mgr, &EBookReaderNetMgr::downloadRequestResponse, [&] {
            mgr.GetDownloadInfoEx(QStringLiteral("b42"), QStringLiteral("p1"),
                                  QStringLiteral("s1"));
        }));
        const QUrl url = m_server->requestsTo("download.action").at(1);
        QCOMPARE(queryValue(url, "pid") + queryValue(url, "sid"), QStringLiteral("p1s1"));
    }

    void contextPropertiesRegisteredAndCleared()
    {
        const QStringList names = {"titlemodelQt", "recomodelQt",          "bookmodelQt",
                                   "bookNetMgr",   "recommenddetailmodel", "bookInfoModel",
                                   "accountmodel"};
        const QStringList searchNames = {"searchMgrModel", "keySearchModel", "resultSearchModel"};
        QQuickView view;
        auto mgr = std::make_unique<EBookReaderNetMgr>();
        mgr->setDeclarativeView(view);
        auto search = std::make_unique<SearchBookMgr>(mgr.get());
        search->setDeclarativeView(view);
        auto registered = [&view](const QString &name) {
            return view.rootContext()->contextProperty(name).value<QObject *>();
        };
        // That every name is registered is checked with the whole program.
        QCOMPARE(registered("bookNetMgr"), mgr.get());
        QCOMPARE(registered("searchMgrModel"), search.get());
        search.reset();
        for (const QString &name : searchNames)
            QVERIFY2(!registered(name), qPrintable(name));
        mgr.reset();
        for (const QString &name : names)
            QVERIFY2(!registered(name), qPrintable(name));
    }
};

QTEST_MAIN(TestEBookReaderNetMgr)
#include "tst_ebookreadernetmgr.moc"
