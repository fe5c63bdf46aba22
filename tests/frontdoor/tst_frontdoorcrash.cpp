// zarvostore killed behind nginx while readers keep asking: the front door
// says 502 with a store document meanwhile, the store comes back by itself,
// and its ledger has every purchase confirmed before the crash.

#include "frontdoorbooks.h"
#include "frontdoorprocess.h"
#include "rawhttp.h"
#include "storeclient.h"
#include "storeshopper.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {
const QStringList Books = {"book.one", "book.two", "book.three"};
constexpr int InFlight = 8;

// Readers browsing the store: a fixed number of requests always under way,
// each answer's status counted (0: no HTTP answer at all).
class BrowsingLoad : public QObject
{
public:
    explicit BrowsingLoad(const QString &url) : m_url(url) {}

    void start()
    {
        for (int i = 0; i < InFlight; ++i)
            send();
    }
    void stop() { m_stopping = true; }
    bool idle() const { return m_running == 0; }
    int count(int status) const { return m_statuses.value(status); }
    int total() const
    {
        int sum = 0;
        for (int n : m_statuses)
            sum += n;
        return sum;
    }
    QByteArray lastRefusal() const { return m_lastRefusal; }

private:
    void send()
    {
        ++m_running;
        QNetworkReply *reply = m_net.get(QNetworkRequest(QUrl(m_url)));
        connect(reply, &QNetworkReply::finished, this, [this, reply] {
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            ++m_statuses[status];
            if (status != 200)
                m_lastRefusal = reply->readAll();
            reply->deleteLater();
            --m_running;
            if (!m_stopping)
                send();
        });
    }

    QNetworkAccessManager m_net;
    QString m_url;
    QHash<int, int> m_statuses;
    QByteArray m_lastRefusal;
    int m_running = 0;
    bool m_stopping = false;
};
} // namespace

class TestFrontDoorCrash : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStringList prices;
        for (const QString &id : Books)
            prices << "--price" << id + "=pay";
        if (!FrontDoorProcess::missing().isEmpty())
            QSKIP(qPrintable(FrontDoorProcess::missing()));
        const QString started = FrontDoorBooks::open(m_store, m_dir, Books, prices);
        QVERIFY2(started.isEmpty(), qPrintable(started));
        m_client.setPort(m_store.port());
    }

    void cleanupTestCase() { QVERIFY(m_store.stop()); }

    void killedStoreComesBackWithItsLedger()
    {
        BrowsingLoad load(m_client.url("/vorelreader/search.action?keyword=Book"));
        load.start();
        QTRY_VERIFY(load.count(200) > 20);

        // Bought under load, each confirmed by the link it hands out.
        StoreShopper shopper(m_client);
        QHash<QString, QString> accounts;
        QStringList links;
        for (int buyer = 0; buyer < 3; ++buyer) {
            const QString uid = shopper.signUp();
            QVERIFY(!uid.isEmpty());
            for (const QString &id : Books.mid(buyer)) {
                links << shopper.buy(uid, id);
                QVERIFY(!links.last().isEmpty());
            }
            accounts.insert(uid, shopper.account(uid));
        }

        const qint64 crashed = m_store.storePid();
        QVERIFY(crashed > 0);
        QCOMPARE(::kill(pid_t(crashed), SIGKILL), 0);
        QTRY_VERIFY_WITH_TIMEOUT(load.count(502) > 0, 10000);
        const auto refusal = XmlNode::parse(load.lastRefusal());
        QVERIFY2(refusal && refusal->attr("ret") == "error", load.lastRefusal().constData());
        const int servedBefore = load.count(200);
        QTRY_VERIFY_WITH_TIMEOUT(load.count(200) > servedBefore + 20, 30000);
        QVERIFY(m_store.storePid() != crashed);
        load.stop();
        QTRY_VERIFY(load.idle());
        // Nothing hung or broke off: every answer was the store's or nginx's 502.
        QCOMPARE(load.count(200) + load.count(502), load.total());

        for (auto it = accounts.cbegin(); it != accounts.cend(); ++it)
            QCOMPARE(shopper.account(it.key()), it.value());
        for (const QString &link : links)
            QCOMPARE(RawHttp::get(m_store.port(), shopper.target(link).toUtf8()).status, 200);
        // And the store goes on selling.
        const QString uid = shopper.signUp();
        QVERIFY(!shopper.buy(uid, Books.first()).isEmpty());
    }

private:
    QTemporaryDir m_dir;
    FrontDoorProcess m_store;
    StoreClient m_client;
};

QTEST_MAIN(TestFrontDoorCrash)
#include "tst_frontdoorcrash.moc"
