// The store as deployed, probed from outside: nginx in front of zarvostore,
// started by scripts/serve-store.sh over a real books folder and ledger. The
// bare server's own rules (refusals, methods, Range syntax) are proven in
// tst_barestore; here is what nginx adds, and a crash of the store behind it.

#include "frontdoorprocess.h"
#include "rawhttp.h"
#include "storeclient.h"
#include "testbooks.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <csignal>
#include <memory>
#include <numeric>
#include <sys/resource.h>
#include <vector>

namespace {
const QString FreeBook = "free.book";
const QString PaidBook = "paid.book";
const QString NonAsciiBook = "测试书";
constexpr int Crowd = 1000;
constexpr int InFlight = 8;

// Resident memory of a process in KiB, or -1.
qint64 residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpressionMatch match =
        QRegularExpression("VmRSS:\\s+(\\d+) kB").match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

// Lets a process open as many sockets as its hard limit allows.
rlim_t raiseOpenFileLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 0;
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
    return limit.rlim_cur;
}
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
    int total() const { return std::accumulate(m_statuses.cbegin(), m_statuses.cend(), 0); }
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
// Orders the book and confirms the payment from the account; the package
// link, or empty.
QString buy(StoreClient &client, const QString &uid, const QString &id)
{
    const QString sid = client.order(uid, id)->attr("sid");
    return sid.isEmpty() ? QString() : client.order(uid, id, "&sid=" + sid)->childText("link");
}

// The target of a link the store handed out, for the same client.
QByteArray target(const StoreClient &client, const QString &link)
{
    return link.mid(client.url("").size()).toUtf8();
}

} // namespace

class TestFrontDoor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!FrontDoorProcess::missing().isEmpty())
            QSKIP(qPrintable(FrontDoorProcess::missing()));
        QString error;
        const QString books = TestBooks::packInto(m_dir, {FreeBook, PaidBook}, &error);
        QVERIFY2(!books.isEmpty(), qPrintable(error));
        // The packer takes no non-ASCII id: that book comes without pictures.
        QVERIFY(TestBooks::writeBare(books + '/' + NonAsciiBook + ".vbp", NonAsciiBook,
                                     "Book " + NonAsciiBook));
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        const QString started =
            m_store.start(books, m_dir.filePath("data"),
                          {"--price", PaidBook + "=pay", "--price", NonAsciiBook + "=pay"});
        QVERIFY2(started.isEmpty(), qPrintable(started));
        QFile package(books + '/' + PaidBook + ".vbp");
        QVERIFY(package.open(QIODevice::ReadOnly));
        m_package = package.readAll();
        m_client.setPort(m_store.port());
        m_base = QStringLiteral("http://%1/vorelreader/").arg(m_store.hostPort());
        m_uid = m_client.newUser();
        m_paidLink = buy(m_client, m_uid, PaidBook);
        QVERIFY2(m_paidLink.startsWith(m_base), qPrintable(m_paidLink));
    }

    void cleanupTestCase() { QVERIFY(m_store.stop()); }

    // nginx serves the package bytes zarvostore lets through, with ranges
    // and validators; a Range it cannot use is ignored, never refused.
    void packageRanges_data()
    {
        QTest::addColumn<QByteArray>("range");   // SIZE: the package's size
        QTest::addColumn<QByteArray>("ifRange"); // ETAG, DATE: the package's validators
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("from");   // -N: the last N bytes
        QTest::addColumn<int>("length"); // -1: to the end
        const struct
        {
            const char *tag, *range, *ifRange;
            int status, from, length;
        } rows[] = {
            {"resume", "bytes=10-", "", 206, 10, -1},
            {"closed", "bytes=0-9", "", 206, 0, 10},
            {"suffix", "bytes=-5", "", 206, -5, -1},
            {"end past the size", "bytes=5-99999999", "", 206, 5, -1},
            {"start past the end", "bytes=SIZE-", "", 416, 0, 0},
            {"end before start ignored", "bytes=5-2", "", 200, 0, -1},
            {"end before start, fewer digits, ignored", "bytes=100-99", "", 200, 0, -1},
            {"oversized number ignored", "bytes=0-99999999999999999999", "", 200, 0, -1},
            {"same tag resumes", "bytes=10-", "ETAG", 206, 10, -1},
            {"same date resumes", "bytes=10-", "DATE", 206, 10, -1},
            {"other tag sends all", "bytes=10-", "\"0-0\"", 200, 0, -1},
            {"weak tag sends all", "bytes=10-", "W/ETAG", 200, 0, -1},
            {"other date sends all", "bytes=10-", "Mon, 01 Jan 2001 00:00:00 GMT", 200, 0, -1},
        };
        for (const auto &row : rows)
            QTest::newRow(row.tag) << QByteArray(row.range) << QByteArray(row.ifRange) << row.status
                                   << row.from << row.length;
    }

    void packageRanges()
    {
        QFETCH(QByteArray, range);
        QFETCH(QByteArray, ifRange);
        QFETCH(int, status);
        QFETCH(int, from);
        QFETCH(int, length);
        const QByteArray target = ::target(m_client, m_paidLink);
        const HttpResult whole = RawHttp::get(m_store.port(), target);
        QCOMPARE(whole.body, m_package);
        QVERIFY2(whole.header("ETag").startsWith('"'), whole.header("ETag"));
        range.replace("SIZE", QByteArray::number(m_package.size()));
        ifRange.replace("ETAG", whole.header("ETag"))
            .replace("DATE", whole.header("Last-Modified"));

        QList<QByteArray> headers;
        if (!range.isEmpty())
            headers << "Range: " + range;
        if (!ifRange.isEmpty())
            headers << "If-Range: " + ifRange;
        const HttpResult result = RawHttp::get(m_store.port(), target, headers);
        QCOMPARE(result.status, status);
        if (status == 416) {
            QCOMPARE(result.header("Content-Range"),
                     "bytes */" + QByteArray::number(m_package.size()));
            return;
        }
        if (from < 0)
            from += m_package.size();
        const QByteArray bytes = m_package.mid(from, length);
        QCOMPARE(result.body, bytes);
        if (status == 206)
            QCOMPARE(result.header("Content-Range"), QString("bytes %1-%2/%3")
                                                         .arg(from)
                                                         .arg(from + bytes.size() - 1)
                                                         .arg(m_package.size())
                                                         .toLatin1());
        else // whole, and still resumable
            QCOMPARE(result.header("Accept-Ranges"), QByteArray("bytes"));
    }

    // What the bytes locations give out: only what zarvostore allowed.
    void bytesOnlyThroughTheStore_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QSize>("picture");
        QTest::newRow("small cover") << "cover.action?id=" + FreeBook + "&size=44_63" << 200
                                     << QByteArray("image/png") << QSize(44, 63);
        QTest::newRow("cover of an unknown book") << QString("cover.action?id=nothing&size=44_63")
                                                  << 404 << QByteArray("text/xml") << QSize();
        QTest::newRow("free package")
            << "package.action?cid=" + FreeBook << 200 << QByteArray("application/vbp") << QSize();
        QTest::newRow("non-ASCII package without a ticket")
            << "package.action?cid=" + QString::fromLatin1(QUrl::toPercentEncoding(NonAsciiBook))
            << 403 << QByteArray("text/xml") << QSize();
        QTest::newRow("package folder from outside")
            << "/_packages/" + PaidBook + ".vbp" << 404 << QByteArray() << QSize();
        QTest::newRow("cover folder from outside")
            << "/_covers/" + FreeBook + "-44_63.png" << 404 << QByteArray() << QSize();
    }

    void bytesOnlyThroughTheStore()
    {
        QFETCH(QString, target);
        QFETCH(int, status);
        QFETCH(QByteArray, type);
        QFETCH(QSize, picture);
        if (!target.startsWith('/'))
            target.prepend("/vorelreader/");
        const HttpResult result = RawHttp::get(m_store.port(), target.toUtf8());
        QCOMPARE(result.status, status);
        QVERIFY2(result.header("Content-Type").startsWith(type), result.header("Content-Type"));
        if (picture.isValid())
            QCOMPARE(QImage::fromData(result.body, "PNG").size(), picture);
    }

    // Links are built from the store's public address, whatever Host says.
    void linksIgnoreTheHostHeader_data()
    {
        QTest::addColumn<QByteArray>("host");
        QTest::newRow("another host and port") << QByteArray("Host: evil.example:8080");
        QTest::newRow("loopback, other port") << QByteArray("Host: 127.0.0.1:1");
        QTest::newRow("markup in the host") << QByteArray("Host: a\"><b>");
    }

    void linksIgnoreTheHostHeader()
    {
        QFETCH(QByteArray, host);
        const auto login = XmlNode::parse(
            RawHttp::get(m_store.port(), "/vorelreader/userlogin.action?imei=1", {host}).body);
        QVERIFY(login);
        QCOMPARE(login->childText("prefix"), m_base);
        const QByteArray order =
            "/vorelreader/download.action?uid=" + m_uid.toUtf8() + "&cid=" + PaidBook.toUtf8();
        const auto answer = XmlNode::parse(RawHttp::get(m_store.port(), order, {host}).body);
        QVERIFY(answer);
        QCOMPARE(answer->childText("link"), m_paidLink);
    }

    // A crowd of clients that connect and say nothing, or send their
    // request a piece at a time, holds nothing a normal request needs.
    void crowdDoesNotDelay_data()
    {
        QTest::addColumn<QByteArray>("opening"); // what each of the crowd sends, then waits
        QTest::newRow("idle") << QByteArray();
        QTest::newRow("half a request head")
            << QByteArray("GET /vorelreader/keywords.action HTTP/1.1\r\nHost: 127.0.0.1\r\nX-A: ");
        QTest::newRow("half a request body")
            << QByteArray("POST /vorelreader/keywords.action HTTP/1.1\r\nHost: "
                          "127.0.0.1\r\nContent-Length: 100\r\n\r\nkey");
    }

    void crowdDoesNotDelay()
    {
        QFETCH(QByteArray, opening);
        if (raiseOpenFileLimit() < rlim_t(Crowd + 200))
            QSKIP("the open-file limit is below the size of the crowd");
        const qint64 alone = slowestOfFive();

        // From fifty loopback addresses, as a crowd comes from many places.
        std::vector<std::unique_ptr<QTcpSocket>> crowd;
        for (int i = 0; i < Crowd; ++i) {
            crowd.push_back(std::make_unique<QTcpSocket>());
            QVERIFY(crowd.back()->bind(QHostAddress(QStringLiteral("127.0.0.%1").arg(2 + i % 50))));
            crowd.back()->connectToHost(QHostAddress::LocalHost, quint16(m_store.port()));
        }
        for (const auto &socket : crowd) {
            QVERIFY(socket->waitForConnected(5000));
            socket->write(opening);
        }
        for (const auto &socket : crowd)
            socket->flush();
        const qint64 amongCrowd = slowestOfFive();
        // Lets the sockets see whatever nginx did with them meanwhile.
        QTest::qWait(300);
        int stillOpen = 0;
        for (const auto &socket : crowd)
            stillOpen += socket->state() == QAbstractSocket::ConnectedState ? 1 : 0;
        // Otherwise the crowd was turned away and proves nothing.
        QCOMPARE(stillOpen, Crowd);
        QVERIFY2(
            amongCrowd < alone + 100,
            qPrintable(QString("%1 ms among the crowd, %2 ms alone").arg(amongCrowd).arg(alone)));
    }

    // zarvostore killed while readers keep asking: the front door says 502
    // with a store document meanwhile, the store comes back by itself, and
    // its ledger has every purchase confirmed before the crash.
    void killedStoreComesBackWithItsLedger()
    {
        BrowsingLoad load(m_client.url("/vorelreader/search.action?keyword=Book"));
        load.start();
        QTRY_VERIFY(load.count(200) > 20);

        // Bought under load, each confirmed by the link it hands out.
        QHash<QString, QString> accounts;
        QStringList links;
        for (int buyer = 0; buyer < 2; ++buyer) {
            const QString uid = m_client.newUser();
            QVERIFY(!uid.isEmpty());
            for (const QString &id : QStringList{PaidBook, NonAsciiBook}.mid(buyer)) {
                links << buy(m_client, uid, id);
                QVERIFY(!links.last().isEmpty());
            }
            accounts.insert(uid, m_client.account(uid));
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
            QCOMPARE(m_client.account(it.key()), it.value());
        for (const QString &link : links)
            QCOMPARE(RawHttp::get(m_store.port(), target(m_client, link)).status, 200);
        // And the store goes on selling.
        QVERIFY(!buy(m_client, m_client.newUser(), PaidBook).isEmpty());
    }

    // Floods are turned away or bounded before they cost zarvostore memory.
    void floodsLeaveMemoryBounded_data()
    {
        QTest::addColumn<QString>("flood");
        QTest::newRow("two million headers") << "headers";
        QTest::newRow("orders with long device ids") << "orders";
    }

    void floodsLeaveMemoryBounded()
    {
        QFETCH(QString, flood);
        const qint64 pid = m_store.storePid();
        QVERIFY(pid > 0);
        const qint64 before = residentKiB(pid);
        if (flood == "headers")
            headerFlood();
        else
            orderFlood();
        const qint64 after = residentKiB(pid);
        QCOMPARE(m_store.storePid(), pid);
        QVERIFY2(after - before < 32 * 1024,
                 qPrintable(QString("%1 KiB before, %2 KiB after").arg(before).arg(after)));
        QCOMPARE(RawHttp::get(m_store.port(), "/vorelreader/keywords.action").status, 200);
    }

private:
    // The slowest of five requests on fresh connections, in ms.
    qint64 slowestOfFive()
    {
        qint64 slowest = 0;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer timer;
            timer.start();
            const HttpResult result = RawHttp::get(m_store.port(), "/vorelreader/keywords.action");
            slowest = qMax(slowest, timer.elapsed());
            if (result.status != 200)
                return 1000000;
        }
        return slowest;
    }

    // One request with two million small headers: refused once its head
    // outgrows nginx's buffers, and nothing of it reaches zarvostore.
    void headerFlood()
    {
        RawClient flood;
        QVERIFY(flood.open(m_store.port()));
        flood.send("GET /vorelreader/keywords.action HTTP/1.1\r\nHost: 127.0.0.1\r\n");
        QByteArray lines;
        for (int i = 0; i < 10000; ++i)
            lines += "X-F" + QByteArray::number(i) + ": v\r\n";
        for (int sent = 0; sent < 2000000 && flood.connected(); sent += 10000) {
            flood.socket().write(lines);
            flood.socket().waitForBytesWritten(1000);
        }
        const int status = flood.answer().status;
        QVERIFY2(status == 400 || status == 431, qPrintable(QString::number(status)));
    }

    // Twenty thousand orders and sign-ups with long device ids, pipelined
    // on kept-alive connections from one client: most are refused as too
    // many, and those let through are bounded by the store.
    void orderFlood()
    {
        const QByteArray imei(2000, '7');
        const QByteArray order = "GET /vorelreader/download.action?uid=" + m_uid.toUtf8() +
                                 "&cid=" + QUrl::toPercentEncoding(NonAsciiBook) + "&imei=" + imei +
                                 " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        const QByteArray signUp = "GET /vorelreader/userlogin.action?imei=" + imei +
                                  " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        QHash<QByteArray, int> statuses;
        for (int connection = 0; connection < 40; ++connection) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, quint16(m_store.port()));
            QVERIFY(socket.waitForConnected(5000));
            for (int i = 0; i < 250; ++i)
                socket.write(order + signUp);
            QByteArray answers;
            const QRegularExpression statusLine("HTTP/1\\.1 (\\d{3}) ");
            int answered = 0;
            while (answered < 500 && socket.waitForReadyRead(10000)) {
                answers += socket.readAll();
                answered = int(answers.count("HTTP/1.1 "));
            }
            QCOMPARE(answered, 500);
            for (const auto &match : statusLine.globalMatch(QString::fromLatin1(answers)))
                ++statuses[match.captured(1).toLatin1()];
        }
        QCOMPARE(statuses.value("200") + statuses.value("429"), 20000);
        QVERIFY2(statuses.value("429") > 15000, qPrintable(QString::number(statuses.value("429"))));
    }

    QTemporaryDir m_dir;
    FrontDoorProcess m_store;
    StoreClient m_client;
    QByteArray m_package;
    QString m_base;
    QString m_uid;
    QString m_paidLink;
};

QTEST_MAIN(TestFrontDoor)
#include "tst_frontdoor.moc"
