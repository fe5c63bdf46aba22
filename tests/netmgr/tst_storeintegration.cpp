// Every request kind of the network manager against the bundled store server,
// started on a free loopback port with a catalogue of freshly packed books.

#include "accountmodel.h"
#include "bookinformationmodel.h"
#include "booklistmodel.h"
#include "bookpacker.h"
#include "commondef.h"
#include "downloadtype.h"
#include "ebookreadernetmgr.h"
#include "morecommandviewabstractmodel.h"
#include "netshoptitlemodel.h"
#include "onlinesearchingkeypagemodel.h"
#include "onlinesearchingresultpagemodel.h"
#include "searchbookmgr.h"
#include "storeserverprocess.h"

#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
constexpr int LiBaiBooks = 14;
constexpr int AllBooks = 30;
} // namespace

class TestStoreIntegration : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QVERIFY(m_books.isValid() && m_root.isValid());
        qputenv("ZARVOREADER_ROOT", m_root.path().toUtf8());
        for (int i = 0; i < AllBooks; ++i) {
            const bool libai = i < LiBaiBooks;
            const int n = libai ? i : i - LiBaiBooks;
            BookSource source;
            source.id = QString(libai ? "libai%1" : "dufu%1").arg(n, 2, 10, QChar('0'));
            source.title = QString(libai ? "李白诗选第%1卷" : "杜甫诗选第%1卷").arg(n + 1);
            source.author = libai ? "李白" : "杜甫";
            source.description = "第一行\r\n第二行";
            source.chapters = {{"第一章", "床前明月光，疑是地上霜。"}};
            QString error;
            QVERIFY2(BookPacker(source).writeTo(m_books.filePath(source.id + ".vbp"), &error),
                     qPrintable(error));
        }
        // The server shares the test's data root.
        const QString started = m_server.start(m_books.path());
        QVERIFY2(started.isEmpty(), qPrintable(started));
        qputenv("ZARVOREADER_STORE", m_server.hostPort().toUtf8());
        gloabal_UID.clear();
        m_mgr = std::make_unique<EBookReaderNetMgr>();
    }

    void cleanupTestCase() { m_mgr.reset(); }

    void storeFrontAndCategoryPages()
    {
        QSignalSpy spy(m_mgr.get(), &EBookReaderNetMgr::onlineBookRequestResponse);
        QVERIFY(!m_mgr->GetOnlineBookInfo(QString(), true));
        QVERIFY(spy.wait());
        QCOMPARE(spy.last().at(0).toInt(), 200);
        // The store handed out a user id with its front page.
        QVERIFY(!gloabal_UID.isEmpty());
        NetShopTitleModel *titles = m_mgr->titleModel();
        QVERIFY(titles->rowCount() >= 2);
        QVERIFY(m_mgr->recommendListModel()->getCount() > 0);
        QVERIFY(m_mgr->bookListModel()->getCount() > 0);

        // A category page is read from its own answer.
        QVERIFY(!m_mgr->GetOnlineBookInfo(titles->getIdString(1), false));
        QVERIFY(spy.wait());
        QCOMPARE(spy.last().at(0).toInt(), 200);
    }

    void recommendationPages()
    {
        MoreCommandViewAbstractModel *model = m_mgr->moreRecommendModel();
        QSignalSpy spy(m_mgr.get(), &EBookReaderNetMgr::moreRequestResponse);
        m_mgr->GetMoreRecommendInfo("hot");
        QVERIFY(spy.wait());
        QCOMPARE(model->getPageCount(), 3);
        for (int page = 2; page <= 3; ++page) {
            model->clickPageIcon(1);
            QVERIFY(spy.wait());
        }
        QVERIFY(model->getIsMeetBottom());
        for (const QList<QVariant> &arguments : std::as_const(spy))
            QCOMPARE(arguments.at(0).toInt(), 200);
        // Every book appears once: no page was skipped or loaded twice.
        QSet<QString> ids;
        for (int row = 0; row < model->rowCount(); ++row)
            ids.insert(model->data(model->index(row), MoreCommandViewAbstractModel::BookIdRole)
                           .toString());
        QCOMPARE(model->rowCount(), AllBooks);
        QCOMPARE(ids.size(), AllBooks);
    }

    void searchCjkKeywordAndPaging()
    {
        SearchBookMgr search(m_mgr.get());
        OnlineSearchingResultPageModel *results = search.resultModel();
        QSignalSpy spy(&search, &SearchBookMgr::searchResultResponse);
        search.setKeywords("李白");
        search.getSearchResultList();
        QVERIFY(spy.wait());
        QCOMPARE(spy.last().at(0).toInt(), 200);
        QCOMPARE(search.totalPageNum(), 2);
        QVERIFY(search.pageDown());
        QVERIFY(spy.wait());
        QCOMPARE(results->rowCount(), LiBaiBooks);
        QSet<QString> ids;
        for (int row = 0; row < results->rowCount(); ++row) {
            QVERIFY2(results->getBookID(row).startsWith("libai"),
                     qPrintable(results->getBookID(row)));
            ids.insert(results->getBookID(row));
        }
        QCOMPARE(ids.size(), LiBaiBooks);

        QSignalSpy keywords(&search, &SearchBookMgr::searchKeyWordResponse);
        search.getRecmmendKeywordList();
        QVERIFY(keywords.wait());
        QCOMPARE(keywords.last().at(0).toInt(), 200);
        QVERIFY(search.keywordModel()->rowCount() > 0);
    }

    void bookDetails()
    {
        BookInformationModel *info = m_mgr->bookInformationModel();
        QSignalSpy spy(m_mgr.get(), &EBookReaderNetMgr::bookInfoRequestResponse);
        m_mgr->GetBookInfo("libai03");
        QVERIFY(spy.wait());
        QCOMPARE(spy.last().at(0).toInt(), 200);
        QCOMPARE(info->getBookName(), "李白诗选第4卷");
        QCOMPARE(info->getAuther(), "李白");
        QVERIFY(info->getBookSize().toInt() > 0);

        // The store's own refusal is reported with its code; the page stays.
        m_mgr->GetBookInfo("nosuchbook");
        QVERIFY(spy.wait());
        QVERIFY2(spy.last().at(0).toInt() >= 400, qPrintable(spy.last().at(0).toString()));
        QCOMPARE(info->getBookName(), "李白诗选第4卷");
    }

    void accountAndLogin()
    {
        QSignalSpy account(m_mgr.get(), &EBookReaderNetMgr::myAccountRequestResponse);
        m_mgr->GetAccountInfo();
        QVERIFY(account.wait());
        QCOMPARE(account.last().at(0).toInt(), 200);
        // The account is the one of the id the store front handed out.
        AccountModel *lines = m_mgr->accountModel();
        bool found = false;
        for (int row = 0; row < lines->rowCount(); ++row)
            found |= lines->data(lines->index(row), AccountModel::OutPutTextRole) == gloabal_UID;
        QVERIFY(found);

        QSignalSpy login(m_mgr.get(), &EBookReaderNetMgr::sendRequestUid);
        m_mgr->GetUsrLoginInfo();
        QVERIFY(login.wait());
        QCOMPARE(login.last().at(1).toInt(), 200);
        QVERIFY(!login.last().at(0).toString().isEmpty());
    }

    void downloadOrder()
    {
        QString ret, link;
        connect(m_mgr.get(), &EBookReaderNetMgr::downloadRequestResponse,
                [&](Downloadtype *order, int) {
                    ret = order ? order->ret : QString();
                    link = order ? order->link : QString();
                });
        QSignalSpy spy(m_mgr.get(), &EBookReaderNetMgr::downloadRequestResponse);
        m_mgr->GetDownloadInfo("libai00");
        QVERIFY(spy.wait());
        QCOMPARE(spy.last().at(1).toInt(), 200);
        QCOMPARE(ret, "download");
        QVERIFY(link.contains("libai00"));
    }

private:
    std::unique_ptr<EBookReaderNetMgr> m_mgr;
    QTemporaryDir m_books;
    QTemporaryDir m_root;
    StoreServerProcess m_server;
};

QTEST_MAIN(TestStoreIntegration)
#include "tst_storeintegration.moc"
