// Several store processes on one ledger, as they run behind one front
// server: what one sells the others honour, confirmations that reach two of
// them at once charge once, and unpaid orders stay bounded. Run on a SQLite
// file the stores share and on a PostgreSQL cluster made for the test.

#include "postgrescluster.h"
#include "storeclient.h"
#include "storeserverprocess.h"
#include "testbooks.h"

#include <QDir>
#include <QFile>
#include <QNetworkProxy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrlQuery>
#include <map>
#include <memory>

namespace {
const QString SmsBook = "sms.book";
const QString AccountBooks[] = {"acct1", "acct2", "acct3"};
const QString Sqlite = "sqlite";
const QString PostgreSql = "postgresql";
// Each store lets a user hold this many unpaid orders.
constexpr int OpenOrders = 2;
// Confirmations of one order sent at once, spread over the stores.
constexpr int Racers = 8;

// One store process and a client of it.
struct Store
{
    StoreServerProcess process;
    StoreClient client;
};

// The stores sharing one ledger: "one" and "other" as the front server
// would run them, "brief" with orders that lapse after a second.
struct Stores
{
    std::unique_ptr<Store> one;
    std::unique_ptr<Store> other;
    std::unique_ptr<Store> brief;
};
} // namespace

class TestSharedLedger : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QString error;
        m_books = TestBooks::packInto(
            m_dir, {SmsBook, AccountBooks[0], AccountBooks[1], AccountBooks[2]}, &error);
        QVERIFY2(!m_books.isEmpty(), qPrintable(error));
        m_postgresMissing = PostgresCluster::missing();
        if (m_postgresMissing.isEmpty()) {
            const QString started = m_cluster.start();
            QVERIFY2(started.isEmpty(), qPrintable(started));
        }
    }

    // Every row runs on one backend, named first in its tag.
    void init()
    {
        if (QByteArray(QTest::currentDataTag()).startsWith(PostgreSql.toLatin1()) &&
            !m_postgresMissing.isEmpty())
            QSKIP(qPrintable(m_postgresMissing));
    }

    void purchaseIsHonouredByEveryStore_data() { backendsAndKinds(); }

    // An order made at one store, its payment message or account
    // confirmation reaching both stores several times at once: it is charged
    // once, and each store hands out the book whichever took the payment.
    void purchaseIsHonouredByEveryStore()
    {
        QFETCH(QString, backend);
        QFETCH(QString, book);
        QFETCH(QString, balance);
        Stores *stores = storesOn(backend);
        QVERIFY(stores);
        const QString uid = stores->one->client.newUser();
        const auto offer = stores->one->client.order(uid, book);
        const QString sid = offer->attr("sid");
        QVERIFY(!sid.isEmpty());

        QList<QNetworkReply *> replies;
        QNetworkAccessManager net;
        for (int i = 0; i < Racers; ++i) {
            const Store &store = i % 2 ? *stores->other : *stores->one;
            replies << (book == SmsBook
                            ? smsRequest(net, store, *offer)
                            : net.get(QNetworkRequest(continuation(store, uid, book, *offer))));
        }
        int paid = 0;
        int links = 0;
        for (QNetworkReply *reply : replies) {
            const HttpResult result = StoreClient::finish(reply);
            QCOMPARE(result.status, 200);
            const auto doc = XmlNode::parse(result.body);
            QVERIFY2(doc, result.body.constData());
            paid += doc->childText("payment") == "paid";
            links += !doc->childText("link").isEmpty();
        }
        QCOMPARE(book == SmsBook ? paid : links, book == SmsBook ? 1 : Racers);
        QCOMPARE(ledgerCount(backend, "SELECT count(*) FROM payments WHERE sid = ?", sid), 1);
        for (Store *store : {stores->one.get(), stores->other.get()}) {
            const QString link = store->client.order(uid, book)->childText("link");
            QVERIFY2(link.startsWith(store->client.url("/")), qPrintable(link));
            const HttpResult package = store->client.get(link.mid(store->client.url("").size()));
            QCOMPARE(package.status, 200);
            QCOMPARE(package.body, packageOf(book));
            QCOMPARE(store->client.account(uid), balance + " / 1");
        }
    }

    void openOrdersAreCapped_data() { backends(); }

    // A user holds at most the allowed unpaid orders, whichever store they
    // ask; asking again for an open one is no new order, and paying one
    // makes room.
    void openOrdersAreCapped()
    {
        QFETCH(QString, backend);
        Stores *stores = storesOn(backend);
        QVERIFY(stores);
        const QString uid = stores->one->client.newUser();
        const auto first = stores->one->client.order(uid, AccountBooks[0]);
        QCOMPARE(stores->other->client.order(uid, AccountBooks[1])->attr("ret"), "pay");
        QCOMPARE(stores->other->client.order(uid, AccountBooks[2])->childText("error").left(5),
                 "42901");
        QCOMPARE(stores->one->client.order(uid, AccountBooks[0])->attr("sid"), first->attr("sid"));
        QVERIFY(confirm(*stores->other, uid, AccountBooks[0], *first) != "failed");
        QCOMPARE(stores->one->client.order(uid, AccountBooks[2])->attr("ret"), "pay");
        QCOMPARE(
            ledgerCount(backend, "SELECT count(*) FROM orders WHERE uid = ? AND paid = 0", uid),
            OpenOrders);
    }

    void unpaidOrdersLapse_data() { backends(); }

    // An order not paid in its time can no longer be paid; a new order is
    // a new offer.
    void unpaidOrdersLapse()
    {
        QFETCH(QString, backend);
        Stores *stores = storesOn(backend);
        QVERIFY(stores);
        Store &brief = *stores->brief;
        const QString uid = brief.client.newUser();
        const auto lapsing = brief.client.order(uid, SmsBook);
        QVERIFY(!lapsing->attr("sid").isEmpty());
        QThread::msleep(2100);
        QCOMPARE(confirm(brief, uid, SmsBook, *lapsing), "unknown order");
        const auto renewed = brief.client.order(uid, SmsBook);
        QVERIFY(!renewed->attr("sid").isEmpty());
        QVERIFY(renewed->attr("sid") != lapsing->attr("sid"));
        QCOMPARE(confirm(brief, uid, SmsBook, *renewed), "paid");
        QCOMPARE(
            ledgerCount(backend, "SELECT count(*) FROM orders WHERE sid = ?", lapsing->attr("sid")),
            0);
    }

    void overlongIdsAreRefused_data() { backends(); }

    // A user id longer than the ledger keeps is refused with a clear error
    // and never stored.
    void overlongIdsAreRefused()
    {
        QFETCH(QString, backend);
        Stores *stores = storesOn(backend);
        QVERIFY(stores);
        for (int length : {65, 4000}) {
            const QString uid(length, 'u');
            for (const QString &book : {AccountBooks[0], SmsBook})
                QCOMPARE(stores->one->client.order(uid, book)->childText("error").left(5), "40002");
        }
        QCOMPARE(ledgerCount(backend, "SELECT count(*) FROM orders WHERE length(uid) > ?", 64), 0);
    }

private:
    void backends()
    {
        QTest::addColumn<QString>("backend");
        for (const QString &backend : {Sqlite, PostgreSql})
            QTest::newRow(qPrintable(backend)) << backend;
    }

    void backendsAndKinds()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("book");
        QTest::addColumn<QString>("balance"); // after the purchase
        for (const QString &backend : {Sqlite, PostgreSql}) {
            QTest::addRow("%s, by message", qPrintable(backend))
                << backend << SmsBook << "10.00 元";
            QTest::addRow("%s, from the account", qPrintable(backend))
                << backend << AccountBooks[0] << "9.00 元";
        }
    }

    // The stores on the backend's ledger, started at first use; null (with
    // the test failed) when they cannot be.
    Stores *storesOn(const QString &backend)
    {
        std::unique_ptr<Stores> &stores = m_stores[backend];
        if (stores)
            return stores.get();
        auto started = std::make_unique<Stores>();
        const QStringList limits{"--open-orders", QString::number(OpenOrders)};
        started->one = startStore(backend, limits);
        started->other = startStore(backend, limits);
        started->brief = startStore(backend, {"--order-lifetime", "1"});
        if (!started->one || !started->other || !started->brief)
            return nullptr;
        stores = std::move(started);
        return stores.get();
    }

    std::unique_ptr<Store> startStore(const QString &backend, const QStringList &options)
    {
        auto store = std::make_unique<Store>();
        QStringList arguments = options;
        for (const QString &id : AccountBooks)
            arguments << "--price" << id + "=pay";
        arguments << "--price" << SmsBook + "=sms";
        if (backend == PostgreSql)
            arguments << "--ledger" << m_cluster.url();
        else
            store->process.setDataFolder(m_dir.filePath("ledger"));
        const QString started = store->process.start(m_books, arguments);
        if (!started.isEmpty()) {
            QTest::qFail(qPrintable(started), __FILE__, __LINE__);
            return nullptr;
        }
        store->client.setPort(store->process.port());
        return store;
    }

    // Counts rows of the backend's ledger as the stores left them.
    int ledgerCount(const QString &backend, const QString &sql, const QVariant &value)
    {
        const QString name = "check-" + backend;
        QSqlDatabase db =
            QSqlDatabase::contains(name)
                ? QSqlDatabase::database(name)
                : QSqlDatabase::addDatabase(backend == Sqlite ? "QSQLITE" : "QPSQL", name);
        if (!db.isOpen()) {
            if (backend == Sqlite) {
                db.setDatabaseName(m_dir.filePath("ledger/ledger.db"));
            } else {
                db.setHostName("127.0.0.1");
                db.setPort(m_cluster.port());
                db.setUserName(PostgresCluster::User);
                db.setDatabaseName(PostgresCluster::Database);
            }
            if (!db.open())
                qWarning() << db.lastError().text();
        }
        QSqlQuery query(db);
        query.prepare(sql);
        query.addBindValue(value);
        if (!query.exec() || !query.next()) {
            qWarning() << query.lastError().text();
            return -1;
        }
        return query.value(0).toInt();
    }

    QByteArray packageOf(const QString &book) const
    {
        QFile file(m_books + '/' + book + ".vbp");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QUrl continuation(const Store &store, const QString &uid, const QString &book,
                             const XmlNode &offer)
    {
        return QUrl(store.client.url("/vorelreader/download.action?uid=" + uid + "&cid=" + book +
                                     "&sid=" + offer.attr("sid")));
    }

    // The payment message of a charge, as the gateway takes it.
    static QByteArray message(const XmlNode &charge)
    {
        return "number=10665110&body=" + QUrl::toPercentEncoding("ZRPAY " + charge.attr("sid"));
    }

    static QNetworkReply *smsRequest(QNetworkAccessManager &net, const Store &store,
                                     const XmlNode &charge)
    {
        QNetworkRequest request(QUrl(store.client.url("/sms/send")));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
        return net.post(request, message(charge));
    }

    // Pays an offer: the payment message through the store's gateway, or
    // the account confirmation; what the store says ("paid", "unknown
    // order", the link of the book...) or "failed".
    static QString confirm(Store &store, const QString &uid, const QString &book,
                           const XmlNode &offer)
    {
        if (offer.attr("ret") == "chargedef")
            return store.client.sms(message(offer));
        const auto answer = store.client.document(
            continuation(store, uid, book, offer).toString().mid(store.client.url("").size()));
        const QString link = answer->childText("link");
        return link.isEmpty() ? QStringLiteral("failed") : link;
    }

    QTemporaryDir m_dir;
    QString m_books;
    QString m_postgresMissing;
    PostgresCluster m_cluster;
    std::map<QString, std::unique_ptr<Stores>> m_stores;
};

QTEST_MAIN(TestSharedLedger)
#include "tst_sharedledger.moc"
