// The store as deployed, probed from outside: nginx in front of zarvostore,
// started by scripts/serve-store.sh over a real books folder and ledger.

#include "frontdoorbooks.h"
#include "frontdoorprocess.h"
#include "rawhttp.h"
#include "storeclient.h"
#include "storeshopper.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {
const QString FreeBook = "free.book";
const QString PaidBook = "paid.book";
const QString NonAsciiBook = "测试书";
constexpr int Crowd = 1000;

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
} // namespace

class TestFrontDoor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!FrontDoorProcess::missing().isEmpty())
            QSKIP(qPrintable(FrontDoorProcess::missing()));
        const QString started =
            FrontDoorBooks::open(m_store, m_dir, {FreeBook, PaidBook, NonAsciiBook},
                                 {"--price", PaidBook + "=pay", "--price", NonAsciiBook + "=pay"});
        QVERIFY2(started.isEmpty(), qPrintable(started));
        QFile package(m_dir.filePath("books/" + PaidBook + ".vbp"));
        QVERIFY(package.open(QIODevice::ReadOnly));
        m_package = package.readAll();
        m_client.setPort(m_store.port());
        m_base = QStringLiteral("http://%1/vorelreader/").arg(m_store.hostPort());
        StoreShopper shopper(m_client);
        m_uid = shopper.signUp();
        m_paidLink = shopper.buy(m_uid, PaidBook);
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
        const QByteArray date = "Mon, 01 Jan 2001 00:00:00 GMT";
        QTest::newRow("no range") << QByteArray() << QByteArray() << 200 << 0 << -1;
        QTest::newRow("resume") << QByteArray("bytes=10-") << QByteArray() << 206 << 10 << -1;
        QTest::newRow("closed") << QByteArray("bytes=0-9") << QByteArray() << 206 << 0 << 10;
        QTest::newRow("suffix") << QByteArray("bytes=-5") << QByteArray() << 206 << -5 << -1;
        QTest::newRow("end past the size")
            << QByteArray("bytes=5-99999999") << QByteArray() << 206 << 5 << -1;
        QTest::newRow("start past the end")
            << QByteArray("bytes=SIZE-") << QByteArray() << 416 << 0 << 0;
        QTest::newRow("end before start ignored")
            << QByteArray("bytes=5-2") << QByteArray() << 200 << 0 << -1;
        QTest::newRow("end before start, fewer digits, ignored")
            << QByteArray("bytes=100-99") << QByteArray() << 200 << 0 << -1;
        QTest::newRow("other unit ignored")
            << QByteArray("items=0-5") << QByteArray() << 200 << 0 << -1;
        QTest::newRow("not a number ignored")
            << QByteArray("bytes=abc") << QByteArray() << 200 << 0 << -1;
        QTest::newRow("oversized number ignored")
            << QByteArray("bytes=0-99999999999999999999") << QByteArray() << 200 << 0 << -1;
        QTest::newRow("same tag resumes")
            << QByteArray("bytes=10-") << QByteArray("ETAG") << 206 << 10 << -1;
        QTest::newRow("same date resumes")
            << QByteArray("bytes=10-") << QByteArray("DATE") << 206 << 10 << -1;
        QTest::newRow("other tag sends all")
            << QByteArray("bytes=10-") << QByteArray("\"0-0\"") << 200 << 0 << -1;
        QTest::newRow("weak tag sends all")
            << QByteArray("bytes=10-") << QByteArray("W/ETAG") << 200 << 0 << -1;
        QTest::newRow("other date sends all") << QByteArray("bytes=10-") << date << 200 << 0 << -1;
    }

    void packageRanges()
    {
        QFETCH(QByteArray, range);
        QFETCH(QByteArray, ifRange);
        QFETCH(int, status);
        QFETCH(int, from);
        QFETCH(int, length);
        const QByteArray target = StoreShopper(m_client).target(m_paidLink).toUtf8();
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
        QTest::newRow("large cover") << "cover.action?id=" + FreeBook + "&size=82_118" << 200
                                     << QByteArray("image/png") << QSize(82, 118);
        QTest::newRow("cover of an unknown book") << QString("cover.action?id=nothing&size=44_63")
                                                  << 404 << QByteArray("text/xml") << QSize();
        QTest::newRow("free package")
            << "package.action?cid=" + FreeBook << 200 << QByteArray("application/vbp") << QSize();
        QTest::newRow("paid package without a ticket")
            << "package.action?cid=" + PaidBook << 403 << QByteArray("text/xml") << QSize();
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
        QTest::newRow("another host") << QByteArray("Host: evil.example");
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

    void wrongMethods_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QByteArray>("allowed");
        QTest::newRow("POST an action")
            << QByteArray("POST") << QByteArray("/vorelreader/keywords.action")
            << QByteArray("GET");
        QTest::newRow("PUT an action")
            << QByteArray("PUT") << QByteArray("/vorelreader/library.action") << QByteArray("GET");
        QTest::newRow("DELETE a package")
            << QByteArray("DELETE") << QByteArray("/vorelreader/package.action?cid=free.book")
            << QByteArray("GET");
        QTest::newRow("GET the SMS gateway")
            << QByteArray("GET") << QByteArray("/sms/send") << QByteArray("POST");
    }

    void wrongMethods()
    {
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, target);
        QFETCH(QByteArray, allowed);
        const HttpResult result = RawHttp::request(m_store.port(), method, target, {}, "a=b");
        QCOMPARE(result.status, 405);
        QVERIFY2(result.header("Allow").contains(allowed), result.header("Allow"));
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
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(m_store.port()));
        QVERIFY(socket.waitForConnected(5000));
        socket.write("GET /vorelreader/keywords.action HTTP/1.1\r\nHost: 127.0.0.1\r\n");
        QByteArray lines;
        for (int i = 0; i < 10000; ++i)
            lines += "X-F" + QByteArray::number(i) + ": v\r\n";
        QByteArray answer;
        for (int sent = 0; sent < 2000000 && socket.state() == QAbstractSocket::ConnectedState;
             sent += 10000) {
            socket.write(lines);
            socket.waitForBytesWritten(1000);
            answer += socket.readAll();
        }
        while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000))
            answer += socket.readAll();
        answer += socket.readAll();
        QVERIFY2(answer.startsWith("HTTP/1.1 400") || answer.startsWith("HTTP/1.1 431"),
                 answer.left(200).constData());
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
