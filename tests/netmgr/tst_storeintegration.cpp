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
constexpr int OtherBooks = 16;

bool packBook(const QString &folder, const QString &id, const QString &title, const QString &author)
{
    BookSource source;
    source.id = id;
    source.title = title;
    source.author = author;
    source.publisher = QStringLiteral("出版社");
    source.description = QStringLiteral("第一行\r\n第二行");
    source.chapters = {{QStringLiteral("第一章"), QStringLiteral("床前明月光，疑是地上霜。")}};
    QString error;
    const bool written = BookPacker(source).writeTo(folder + "/" + id + ".vbp", &error);
    if (!written)
        qWarning() << error;
    return written;
}

} // namespace

class TestStoreIntegration : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void storeFrontAndCategoryPages();
    void recommendationPages();
    void searchCjkKeywordAndPaging();
    void suggestedKeywords();
    void bookDetails();
    void accountAndLogin();
    void downloadOrder();
    void notFoundIsContentError();
    void refusedConnectionIsNetworkError();

private:
    std::unique_ptr<EBookReaderNetMgr> m_mgr;
    QTemporaryDir m_books;
    QTemporaryDir m_root;
    StoreServerProcess m_server;
    QString m_hostPort;
};

void TestStoreIntegration::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    QVERIFY(m_books.isValid());
    QVERIFY(m_root.isValid());
    qputenv("ZARVOREADER_ROOT", m_root.path().toUtf8());
    for (int i = 0; i < LiBaiBooks; ++i) {
        QVERIFY(packBook(m_books.path(), QStringLiteral("libai%1").arg(i, 2, 10, QChar('0')),
                         QStringLiteral("李白诗选第%1卷").arg(i + 1), QStringLiteral("李白")));
    }
    for (int i = 0; i < OtherBooks; ++i) {
        QVERIFY(packBook(m_books.path(), QStringLiteral("dufu%1").arg(i, 2, 10, QChar('0')),
                         QStringLiteral("杜甫诗选第%1卷").arg(i + 1), QStringLiteral("杜甫")));
    }

    QVERIFY2(QFile::exists(StoreServerProcess::program()),
             qPrintable(StoreServerProcess::program()));
    // The server shares the test's data root.
    const QString started = m_server.start(m_books.path());
    QVERIFY2(started.isEmpty(), qPrintable(started));
    m_hostPort = m_server.hostPort();
    qputenv("ZARVOREADER_STORE", m_hostPort.toUtf8());

    gloabal_UID.clear();
    m_mgr = std::make_unique<EBookReaderNetMgr>();
}

void TestStoreIntegration::cleanupTestCase()
{
    m_mgr.reset();
    m_server.stop();
}

void TestStoreIntegration::init()
{
    qputenv("ZARVOREADER_STORE", m_hostPort.toUtf8());
}

void TestStoreIntegration::storeFrontAndCategoryPages()
{
    QSignalSpy spy(m_mgr.get(), &EBookReaderNetMgr::onlineBookRequestResponse);
    QVERIFY(!m_mgr->GetOnlineBookInfo(QString(), true));
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), 200);
    // The store handed out a user id with its front page.
    QVERIFY(!gloabal_UID.isEmpty());

    NetShopTitleModel *titles = m_mgr->titleModel();
    QVERIFY(titles->rowCount() >= 2);
    QCOMPARE(titles->getIdString(0), QStringLiteral("novel"));
    QVERIFY(m_mgr->recommendListModel()->getCount() > 0);
    BookListModel *books = m_mgr->bookListModel();
    QVERIFY(books->getCount() > 0);
    QVERIFY(books->getBookInfo(0)->m_hasTitle);
    QVERIFY(books->getBookInfo(0)->m_picPath.contains("cover.action"));

    const QString category = titles->getIdString(1);
    QVERIFY(!m_mgr->GetOnlineBookInfo(category, false));
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), 200);
    QVERIFY(m_mgr->GetOnlineBookInfo(category, false));
    QVERIFY(m_mgr->GetOnlineBookInfo(QString(), true));
    QCOMPARE(spy.count(), 2);
}

void TestStoreIntegration::recommendationPages()
{
    MoreCommandViewAbstractModel *model = m_mgr->moreRecommendModel();
    QSignalSpy spy(m_mgr.get(), &EBookReaderNetMgr::moreRequestResponse);
    m_mgr->GetMoreRecommendInfo(QStringLiteral("hot"));
    QVERIFY(spy.wait());
    QCOMPARE(model->rowCount(), 12);
    QCOMPARE(model->getPageCount(), 3);
    model->clickPageIcon(1);
    QVERIFY(spy.wait());
    model->clickPageIcon(1);
    QVERIFY(spy.wait());
    QCOMPARE(model->rowCount(), LiBaiBooks + OtherBooks);
    QVERIFY(model->getIsMeetBottom());
    QCOMPARE(model->getCurrentPageNum(), 3);
    for (const QList<QVariant> &arguments : std::as_const(spy))
        QCOMPARE(arguments.at(0).toInt(), 200);

    // Every book appears once: no page was skipped or loaded twice.
    QSet<QString> ids;
    for (int row = 0; row < model->rowCount(); ++row)
        ids.insert(
            model->data(model->index(row), MoreCommandViewAbstractModel::BookIdRole).toString());
    QCOMPARE(ids.size(), LiBaiBooks + OtherBooks);
}

void TestStoreIntegration::searchCjkKeywordAndPaging()
{
    SearchBookMgr search(m_mgr.get());
    OnlineSearchingResultPageModel *results = search.resultModel();
    QSignalSpy spy(&search, &SearchBookMgr::searchResultResponse);
    search.setKeywords(QStringLiteral("李白"));
    search.getSearchResultList();
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), 200);
    QCOMPARE(results->rowCount(), 12);
    QCOMPARE(search.totalPageNum(), 2);
    QVERIFY(results->getOnlineResultTitle().contains(QStringLiteral("14")));
    QVERIFY(!results->getPageDownGrayFlag());

    QVERIFY(search.pageDown());
    QVERIFY(spy.wait());
    QCOMPARE(results->rowCount(), LiBaiBooks);
    QVERIFY(results->getPageDownGrayFlag());
    QVERIFY(!search.pageDown());
    QSet<QString> ids;
    for (int row = 0; row < results->rowCount(); ++row) {
        const QString id = results->getBookID(row);
        QVERIFY2(id.startsWith("libai"), qPrintable(id));
        ids.insert(id);
    }
    QCOMPARE(ids.size(), LiBaiBooks);
}

void TestStoreIntegration::suggestedKeywords()
{
    SearchBookMgr search(m_mgr.get());
    QSignalSpy spy(&search, &SearchBookMgr::searchKeyWordResponse);
    search.getRecmmendKeywordList();
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), 200);
    QVERIFY(search.keywordModel()->rowCount() > 0);
}

void TestStoreIntegration::bookDetails()
{
    BookInformationModel *info = m_mgr->bookInformationModel();
    QSignalSpy spy(m_mgr.get(), &EBookReaderNetMgr::bookInfoRequestResponse);
    m_mgr->GetBookInfo(QStringLiteral("libai03"));
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), 200);
    QCOMPARE(info->getBookName(), QStringLiteral("李白诗选第4卷"));
    QCOMPARE(info->getAuther(), QStringLiteral("李白"));
    QCOMPARE(info->getBookID(), QStringLiteral("libai03"));
    QCOMPARE(info->getStatus(), QStringLiteral("1"));
    QVERIFY(!info->getBookInfo().contains(QChar(13)));
    QVERIFY(info->getBookSize().toInt() > 0);
    QVERIFY(info->getBookImage().contains("cover.action"));

    // The store's own refusal is reported with its code; the page stays.
    m_mgr->GetBookInfo(QStringLiteral("nosuchbook"));
    QVERIFY(spy.wait());
    const int refusal = spy.last().at(0).toInt();
    QVERIFY2(refusal >= 400, qPrintable(QString::number(refusal)));
    QCOMPARE(info->getBookID(), QStringLiteral("libai03"));
}

void TestStoreIntegration::accountAndLogin()
{
    QSignalSpy account(m_mgr.get(), &EBookReaderNetMgr::myAccountRequestResponse);
    m_mgr->GetAccountInfo();
    QVERIFY(account.wait());
    QCOMPARE(account.last().at(0).toInt(), 200);
    AccountModel *lines = m_mgr->accountModel();
    QVERIFY(lines->rowCount() > 0);
    // The account is the one of the id the store front handed out.
    bool found = false;
    for (int row = 0; row < lines->rowCount(); ++row)
        found |= lines->data(lines->index(row), AccountModel::OutPutTextRole) == gloabal_UID;
    QVERIFY(found);

    QSignalSpy login(m_mgr.get(), &EBookReaderNetMgr::sendRequestUid);
    m_mgr->GetUsrLoginInfo();
    QVERIFY(login.wait());
    QCOMPARE(login.last().at(1).toInt(), 200);
    const QString loginUid = login.last().at(0).toString();
    QVERIFY(!loginUid.isEmpty());
    m_mgr->GetUsrLoginInfo();
    QVERIFY(login.wait());
    QCOMPARE(login.last().at(0).toString(), loginUid);
}

void TestStoreIntegration::downloadOrder()
{
    QString ret;
    QString link;
    connect(m_mgr.get(), &EBookReaderNetMgr::downloadRequestResponse,
            [&](Downloadtype *order, int) {
                if (order) {
                    ret = order->ret;
                    link = order->link;
                }
            });
    QSignalSpy spy(m_mgr.get(), &EBookReaderNetMgr::downloadRequestResponse);
    m_mgr->GetDownloadInfo(QStringLiteral("libai00"));
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(1).toInt(), 200);
    QVERIFY(!ret.isEmpty());
    if (ret == QLatin1String("download"))
        QVERIFY(link.contains("libai00"));
}

void TestStoreIntegration::notFoundIsContentError()
{
    // The store is not under this path, so every request meets a 404.
    qputenv("ZARVOREADER_STORE", (m_hostPort + "/elsewhere").toUtf8());
    QSignalSpy spy(m_mgr.get(), &EBookReaderNetMgr::bookInfoRequestResponse);
    m_mgr->GetBookInfo(QStringLiteral("libai01"));
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), -200);
    QCOMPARE(m_mgr->bookInformationModel()->getBookID(), QStringLiteral("libai03"));
}

void TestStoreIntegration::refusedConnectionIsNetworkError()
{
    QVERIFY(m_server.stop());
    QSignalSpy spy(m_mgr.get(), &EBookReaderNetMgr::moreRequestResponse);
    m_mgr->GetMoreRecommendInfo(QStringLiteral("free"));
    QVERIFY(spy.wait());
    QCOMPARE(spy.last().at(0).toInt(), -100);
    QCOMPARE(m_mgr->moreRecommendModel()->rowCount(), LiBaiBooks + OtherBooks);
}

QTEST_MAIN(TestStoreIntegration)
#include "tst_storeintegration.moc"
