// The store server on its own, facing clients that misbehave: malformed and
// oversized requests, slow and idle connections, floods, hostile Host
// headers, downloads cut short; and the mode where a front server sends the
// bytes of packages and covers.

#include "rawhttp.h"
#include "storeclient.h"
#include "storeserverprocess.h"
#include "testbooks.h"
#include "vbpwriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <vector>

namespace {
const QByteArray PublicBase = "http://store.test:8080/shop/";
constexpr qint64 BigPackageSize = 24 * 1024 * 1024;

QByteArray get(const QByteArray &target, const QByteArray &more = "Host: t\r\n")
{
    return "GET " + target + " HTTP/1.1\r\n" + more + "\r\n";
}

// Kilobytes of the process's memory as the kernel counts it ("VmHWM", "VmRSS").
qint64 memoryOf(qint64 pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}
} // namespace

class TestBareStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString error;
        m_books = TestBooks::packInto(m_dir, {"moon", "paid"}, &error);
        QVERIFY2(!m_books.isEmpty(), qPrintable(error));
        QVERIFY(QDir().mkpath(m_dir.filePath("root")));
        QVERIFY(TestBooks::writeBare(m_books + "/测试书.vbp", "测试书", "测试书"));
        VbpWriter big;
        big.addRecord("index.xml", "<vb ret=\"ok\" title=\"Big\"><chapters total=\"1\"/></vb>");
        for (const QByteArray name : {"a.bin", "b.bin"}) // a record holds under 16 MiB
            big.addRecord(name, QByteArray(BigPackageSize / 2, 'x'));
        QVERIFY(big.writeTo(m_books + "/big.vbp"));

        // Short deadlines keep the slow-client journeys quick.
        m_bare.setDataRoot(m_dir.filePath("root"));
        m_bare.setLogFile(m_dir.filePath("bare.log"));
        QString started = m_bare.start(
            m_books, {"--price", "paid=pay", "--read-timeout", "2", "--idle-timeout", "2"});
        QVERIFY2(started.isEmpty(), qPrintable(started));
        m_client.setPort(m_bare.port());

        m_fronted.setDataFolder(m_dir.filePath("data"));
        started = m_fronted.start(m_books, {"--price", "paid=pay", "--accel-redirect",
                                            "--public-url", QString::fromLatin1(PublicBase)});
        QVERIFY2(started.isEmpty(), qPrintable(started));
    }

    // Loading the catalogue reads the packages and writes nothing into the
    // reader's folders under the data root.
    void readerFoldersUntouched()
    {
        QDirIterator entries(m_dir.filePath("root"), QDir::AllEntries | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
        QVERIFY2(!entries.hasNext(), qPrintable(entries.hasNext() ? entries.next() : QString()));
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("status");
        const QByteArray search = "/vorelreader/search.action?keyword=moon";
        const QByteArray field = "X-Field: 1\r\n";
        QTest::newRow("line without a colon") << get(search, "Host: t\r\nNoColon\r\n") << 400;
        QTest::newRow("folded line") << get(search, "Host: t\r\nX-A: 1\r\n  more\r\n") << 400;
        QTest::newRow("space before the colon") << get(search, "Host : t\r\n") << 400;
        QTest::newRow("no Host") << get(search, "") << 400;
        QTest::newRow("two Hosts") << get(search, "Host: t\r\nHost: u\r\n") << 400;
        QTest::newRow("a hundred fields pass")
            << get(search, "Host: t\r\n" + field.repeated(99)) << 200;
        QTest::newRow("too many fields") << get(search, "Host: t\r\n" + field.repeated(100)) << 431;
        QTest::newRow("head too large")
            << get(search, "Host: t\r\nX-Big: " + QByteArray(17000, 'b') + "\r\n") << 431;
        QTest::newRow("target too long") << get("/" + QByteArray(9000, 'a')) << 414;
        QTest::newRow("unknown version") << QByteArray("GET / HTTP/2.0\r\nHost: t\r\n\r\n") << 505;
        QTest::newRow("chunked body")
            << QByteArray("POST /sms/send HTTP/1.1\r\nHost: t\r\nTransfer-Encoding: "
                          "chunked\r\n\r\n0\r\n\r\n")
            << 501;
        QTest::newRow("body over the limit")
            << QByteArray("POST /sms/send HTTP/1.1\r\nHost: t\r\nContent-Length: 1000000\r\n\r\n")
            << 413;
        QTest::newRow("length not a number")
            << QByteArray("POST /sms/send HTTP/1.1\r\nHost: t\r\nContent-Length: 4x\r\n\r\nabcd")
            << 400;
        QTest::newRow("POST to an action")
            << QByteArray("POST " + search + " HTTP/1.1\r\nHost: t\r\nContent-Length: 0\r\n\r\n")
            << 405;
        QTest::newRow("PUT to an action")
            << QByteArray("PUT /vorelreader/library.action HTTP/1.1\r\nHost: t\r\nContent-Length: "
                          "0\r\n\r\n")
            << 405;
        QTest::newRow("DELETE of a package")
            << QByteArray("DELETE /vorelreader/package.action?cid=moon HTTP/1.1\r\nHost: t\r\n\r\n")
            << 405;
        QTest::newRow("GET of the SMS gateway") << get("/sms/send") << 405;
    }

    // Every refusal is a store error document with its own status; none
    // takes the server down or leaves the next client waiting. A head just
    // within the limits passes.
    void refusals()
    {
        QFETCH(QByteArray, request);
        QFETCH(int, status);
        RawClient client;
        QVERIFY(client.open(m_bare.port()));
        client.send(request);
        const HttpResult answer = client.answer();
        QCOMPARE(answer.status, status);
        const QByteArray allow = request.contains("/sms/") ? "POST" : "GET, HEAD";
        QCOMPARE(answer.headers.value("allow"), status == 405 ? allow : QByteArray());
        QVERIFY(answer.headers.value("content-type").startsWith("text/xml"));
        QCOMPARE(answer.body.contains("<error_code>400</error_code>"), status != 200);
        QCOMPARE(m_client.get("/vorelreader/bookinfo.action?bookid=moon").status, 200);
    }

    void ranges_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QByteArray>("range");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("contentRange"); // SIZE: the package's size
        const QString package = "/vorelreader/package.action?cid=moon";
        const QString search = "/vorelreader/search.action?keyword=moon";
        QTest::newRow("backwards range ignored")
            << package << QByteArray("bytes=5-2") << 200 << QByteArray();
        QTest::newRow("other unit ignored")
            << package << QByteArray("items=0-5") << 200 << QByteArray();
        QTest::newRow("no numbers ignored")
            << package << QByteArray("bytes=a-b") << 200 << QByteArray();
        QTest::newRow("unit in capitals")
            << package << QByteArray("Bytes=0-4") << 206 << QByteArray("bytes 0-4/SIZE");
        QTest::newRow("end past 64 bits clamped")
            << package << QByteArray("bytes=0-99999999999999999999999") << 206
            << QByteArray("bytes 0-LAST/SIZE");
        QTest::newRow("empty suffix unsatisfiable")
            << package << QByteArray("bytes=-0") << 416 << QByteArray("bytes */SIZE");
        QTest::newRow("XML action: unsatisfiable ignored")
            << search << QByteArray("bytes=99999999-") << 200 << QByteArray();
        QTest::newRow("XML action: valid range ignored")
            << search << QByteArray("bytes=0-4") << 200 << QByteArray();
    }

    void ranges()
    {
        QFETCH(QString, target);
        QFETCH(QByteArray, range);
        QFETCH(int, status);
        QFETCH(QByteArray, contentRange);
        const qint64 size = QFileInfo(m_books + "/moon.vbp").size();
        contentRange.replace("LAST", QByteArray::number(size - 1))
            .replace("SIZE", QByteArray::number(size));
        const HttpResult result = m_client.get(target, {{"Range", range}});
        QCOMPARE(result.status, status);
        QCOMPARE(result.header("Content-Range"), contentRange);
        if (status == 200 && target.contains("package"))
            QCOMPARE(result.body.size(), size);
    }

    void keepAlive_data()
    {
        QTest::addColumn<QByteArray>("head"); // the version and fields of both requests
        QTest::addColumn<QByteArray>("connection");
        QTest::addColumn<int>("answers");
        QTest::newRow("1.1 stays open") << QByteArray("HTTP/1.1\r\nHost: t") << QByteArray() << 2;
        QTest::newRow("1.1 asked to close")
            << QByteArray("HTTP/1.1\r\nHost: t\r\nConnection: close") << QByteArray("close") << 1;
        QTest::newRow("1.0 closes") << QByteArray("HTTP/1.0") << QByteArray("close") << 1;
        QTest::newRow("1.0 asked to stay")
            << QByteArray("HTTP/1.0\r\nConnection: Keep-Alive") << QByteArray("keep-alive") << 2;
    }

    // Two requests sent at once: the answer says what happens to the
    // connection, and that is what happens.
    void keepAlive()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, connection);
        QFETCH(int, answers);
        const QByteArray request =
            "GET /vorelreader/bookinfo.action?bookid=moon " + head + "\r\n\r\n";
        RawClient client;
        QVERIFY(client.open(m_bare.port()));
        client.send(request + request);
        const HttpResult first = client.answer();
        QCOMPARE(first.status, 200);
        QCOMPARE(first.headers.value("connection").toLower(), connection);
        QCOMPARE(client.answer(3000).status, answers == 2 ? 200 : 0);
        if (answers == 1)
            QVERIFY(client.waitClosed(3000));
    }

    // Links in answers come from the configured public address, whatever
    // Host the client names.
    void links_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("link"); // the element holding it
        QTest::newRow("login prefix")
            << QByteArray("/vorelreader/userlogin.action?uid=u1") << "prefix";
        QTest::newRow("download link")
            << QByteArray("/vorelreader/download.action?cid=moon") << "link";
    }

    void links()
    {
        QFETCH(QByteArray, target);
        QFETCH(QString, link);
        for (const int port : {m_bare.port(), m_fronted.port()}) {
            RawClient client;
            QVERIFY(client.open(port));
            client.send(get(target, "Host: evil.example\r\n"));
            const auto doc = XmlNode::parse(client.answer().body);
            QVERIFY(doc);
            const QString expected = port == m_fronted.port()
                                         ? QString::fromLatin1(PublicBase)
                                         : QStringLiteral("http://127.0.0.1:%1/").arg(port);
            QVERIFY2(doc->childText(link).startsWith(expected + "vorelreader/"),
                     qPrintable(doc->childText(link)));
        }
    }

    // More slow, idle and non-reading clients than the server has workers: a
    // normal request is answered while all of them are still connected, a
    // download nobody reads holds no worker, and the deadlines then close
    // every slow and idle one.
    void slowAndIdleClients()
    {
        std::vector<std::unique_ptr<RawClient>> idle(200);
        std::vector<std::unique_ptr<RawClient>> slow(32);
        std::vector<std::unique_ptr<RawClient>> readers(32);
        for (auto *group : {&idle, &slow, &readers}) {
            for (auto &client : *group) {
                client = std::make_unique<RawClient>();
                client->socket().setReadBufferSize(1024);
                QVERIFY(client->open(m_bare.port()));
            }
        }
        for (auto &client : readers)
            client->send(get("/vorelreader/package.action?cid=big"));
        for (auto &client : slow)
            client->send("GET /vorelreader/search.action?keyword=moon HTTP/1.1\r\nHost: t\r\n");
        for (int round = 0; round < 3; ++round) {
            QTest::qWait(100);
            for (auto &client : slow)
                client->send("X-Slow: 1\r\n");
        }
        for (auto &client : readers)
            QTRY_VERIFY(client->socket().bytesAvailable() > 0);
        QCOMPARE(m_client.get("/vorelreader/bookinfo.action?bookid=moon").status, 200);
        QCOMPARE(m_client.get("/vorelreader/package.action?cid=moon").status, 200);
        int stillOpen = 0;
        for (auto *group : {&idle, &slow, &readers}) {
            for (auto &client : *group)
                stillOpen += client->connected() ? 1 : 0;
        }
        QCOMPARE(stillOpen, 264);

        for (auto &client : slow) {
            QCOMPARE(client->answer(10000).status, 408);
            QVERIFY(client->waitClosed(5000));
        }
        for (auto &client : idle)
            QVERIFY(client->waitClosed(10000));
    }

    // Two million small header lines, and a stream of large heads: the
    // server refuses each early and its memory stays within a fixed bound.
    void floodsKeepMemoryBounded()
    {
        const qint64 pid = m_bare.process().processId();
        const qint64 before = memoryOf(pid, "VmHWM");
        QVERIFY(before > 0);
        RawClient flood;
        QVERIFY(flood.open(m_bare.port()));
        flood.send("GET / HTTP/1.1\r\nHost: t\r\n");
        const QByteArray lines = QByteArray("X: 1\r\n").repeated(10000);
        for (int i = 0; i < 200 && flood.connected(); ++i) {
            flood.socket().write(lines);
            flood.socket().waitForBytesWritten(1000);
        }
        QVERIFY(flood.waitClosed(5000));
        const QByteArray bigHead = get("/", "Host: t\r\nX-Big: " + QByteArray(15000, 'b') + "\r\n");
        for (int round = 0; round < 20; ++round) {
            std::vector<std::unique_ptr<RawClient>> clients(50);
            for (auto &client : clients) {
                client = std::make_unique<RawClient>();
                QVERIFY(client->open(m_bare.port()));
                client->send(bigHead.left(bigHead.size() - 2));
            }
        }
        QCOMPARE(m_client.get("/vorelreader/bookinfo.action?bookid=moon").status, 200);
        const qint64 after = memoryOf(pid, "VmHWM");
        QVERIFY2(after - before < 16 * 1024,
                 qPrintable(QString("%1 kB -> %2 kB").arg(before).arg(after)));
    }

    // A download the client walks away from is logged with the bytes that
    // went out, marked as cut short.
    void abortedDownloadLogged()
    {
        RawClient client;
        // What the client does not read stays with the kernel, so the server
        // cannot have sent it all.
        client.socket().setReadBufferSize(64 * 1024);
        QVERIFY(client.open(m_bare.port()));
        client.send(get("/vorelreader/package.action?cid=big"));
        QTRY_VERIFY(client.socket().bytesAvailable() > 0);
        client.socket().abort();
        const QRegularExpression line(
            "^GET /vorelreader/package\\.action\\?cid=big 200 (\\d+) aborted$",
            QRegularExpression::MultilineOption);
        QRegularExpressionMatch match;
        QTRY_VERIFY_WITH_TIMEOUT((match = line.match(readLog())).hasMatch(), 15000);
        QVERIFY(match.captured(1).toLongLong() < BigPackageSize);
    }

    void frontServer_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("location"); // X-Accel-Redirect; empty: an XML document
        QTest::newRow("free package")
            << "package.action?cid=moon" << 200 << QByteArray("/_packages/moon.vbp");
        QTest::newRow("name needing escapes")
            << "package.action?cid=%E6%B5%8B%E8%AF%95%E4%B9%A6" << 200
            << QByteArray("/_packages/%E6%B5%8B%E8%AF%95%E4%B9%A6.vbp");
        QTest::newRow("unpaid package") << "package.action?cid=paid" << 403 << QByteArray();
        QTest::newRow("unknown package") << "package.action?cid=nosuch" << 404 << QByteArray();
        QTest::newRow("small cover")
            << "cover.action?id=%E6%B5%8B%E8%AF%95%E4%B9%A6" << 200
            << QByteArray("/_covers/%E6%B5%8B%E8%AF%95%E4%B9%A6-44_63.png");
        QTest::newRow("large cover")
            << "cover.action?id=moon&size=82_118" << 200 << QByteArray("/_covers/moon-82_118.png");
        QTest::newRow("unknown cover size")
            << "cover.action?id=moon&size=1_1" << 400 << QByteArray();
    }

    // Allowed requests name the internal location of the bytes; the covers
    // lie there already, written at start-up.
    void frontServer()
    {
        QFETCH(QString, target);
        QFETCH(int, status);
        QFETCH(QByteArray, location);
        StoreClient client;
        client.setPort(m_fronted.port());
        const HttpResult result = client.get("/vorelreader/" + target);
        QCOMPARE(result.status, status);
        QCOMPARE(result.header("X-Accel-Redirect"), location);
        if (location.isEmpty()) {
            QVERIFY(result.body.contains("<error_code>400</error_code>"));
            return;
        }
        QVERIFY(result.body.isEmpty());
        if (!location.startsWith("/_covers/"))
            return;
        const QString file =
            m_dir.filePath("data/covers/") + QUrl::fromPercentEncoding(location.mid(9));
        const QString size = file.section('-', -1).section('.', 0, 0);
        QCOMPARE(QImage(file, "PNG").size(),
                 QSize(size.section('_', 0, 0).toInt(), size.section('_', 1).toInt()));
    }

    // Stopping closes connections still being read at once instead of
    // waiting for their deadlines.
    void stopDoesNotWaitForClients()
    {
        std::vector<std::unique_ptr<RawClient>> slow(16);
        for (auto &client : slow) {
            client = std::make_unique<RawClient>();
            QVERIFY(client->open(m_bare.port()));
            client->send("GET / HTTP/1.1\r\nHost: t\r\n");
        }
        QCOMPARE(m_client.get("/vorelreader/bookinfo.action?bookid=moon").status, 200);
        ::kill(pid_t(m_bare.process().processId()), SIGTERM);
        for (auto &client : slow) {
            QVERIFY(client->waitClosed(10000));
            QVERIFY(client->pending().isEmpty()); // closed, not timed out with 408
        }
        QTRY_VERIFY_WITH_TIMEOUT(m_bare.process().state() == QProcess::NotRunning, 10000);
        QCOMPARE(m_bare.process().exitCode(), 0);
        QVERIFY(readLog().contains("zarvostore: stopped"));
    }

private:
    QString readLog() const
    {
        QFile log(m_dir.filePath("bare.log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    QTemporaryDir m_dir;
    QString m_books;
    StoreServerProcess m_bare;
    StoreServerProcess m_fronted;
    StoreClient m_client;
};

QTEST_MAIN(TestBareStore)
#include "tst_barestore.moc"
