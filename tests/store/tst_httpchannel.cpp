// The store request channel against a real HTTP server on a loopback port:
// what goes out on the wire, and how every kind of outcome is reported.
#include "commondef.h"
#include "ebooklibraryconnection.h"
#include "urlmaker.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <memory>

namespace {

// A tiny HTTP/1.1 server: records each request line and answers every
// request the same configured way.
class LoopbackServer : public QTcpServer
{
public:
    enum Mode
    {
        Answer,    // status, headers and body at once
        Silent,    // read the request, never answer
        DropMidway // promise a body, send half, close
    };

    Mode mode = Answer;
    QByteArray status = "200 OK";
    QByteArray body;
    bool sendLength = true;
    QList<QByteArray> requestLines;

    LoopbackServer() { listen(QHostAddress::LocalHost); }

    QString base() const { return QStringLiteral("127.0.0.1:%1").arg(serverPort()); }

protected:
    void incomingConnection(qintptr handle) override
    {
        auto *socket = new QTcpSocket(this);
        socket->setSocketDescriptor(handle);
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
            request->append(socket->readAll());
            if (!request->contains("\r\n\r\n"))
                return;
            requestLines.append(request->left(request->indexOf("\r\n")));
            request->clear();
            respond(socket);
        });
    }

private:
    void respond(QTcpSocket *socket)
    {
        if (mode == Silent)
            return;
        QByteArray head = "HTTP/1.1 " + status + "\r\nContent-Type: text/xml\r\n";
        if (mode == DropMidway) {
            head += "Content-Length: " + QByteArray::number(body.size() * 2) + "\r\n\r\n";
            socket->write(head + body);
            socket->flush();
            socket->disconnectFromHost();
            return;
        }
        if (sendLength)
            head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        else
            head += "Connection: close\r\n";
        socket->write(head + "\r\n" + body);
        if (!sendLength)
            socket->disconnectFromHost();
    }
};

struct Outcome
{
    bool finished = false;
    QByteArray body;
    int code = 0;
};

// Sends one request and waits for its report.
Outcome exchange(const QString &url, int timeoutMs = -1, qint64 cap = -1)
{
    EBooklibraryConnection connection(url);
    if (timeoutMs >= 0)
        connection.setTimeout(timeoutMs);
    if (cap >= 0)
        connection.setMaxReplySize(cap);
    QSignalSpy spy(&connection, &EBooklibraryConnection::finishedRecv);
    connection.sendRequest();
    Outcome outcome;
    outcome.finished = spy.wait(20000);
    outcome.body = connection.getRevByteArray();
    outcome.code = connection.GetHttpErrorCode();
    return outcome;
}

quint16 refusedPort()
{
    // A port that was just free and is no longer listened on.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace

class TestHttpChannel : public QObject
{
    Q_OBJECT
private slots:
    void queryGoesOutPercentEncoded_data();
    void queryGoesOutPercentEncoded();
    void outcomes_data();
    void outcomes();
    void refusedConnectionIsNetworkError();
    void slowAnswerTimesOut();
    void defaultCapRefusesOversizedAnswer();
    void abandonedExchangeReportsNothing();
};

void TestHttpChannel::queryGoesOutPercentEncoded_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QByteArray>("onWire");

    QTest::newRow("plain") << "tale" << QByteArray("keyword=tale&");
    QTest::newRow("space") << "old man" << QByteArray("keyword=old%20man&");
    QTest::newRow("chinese with space")
        << QStringLiteral("红楼 梦") << QByteArray("keyword=%E7%BA%A2%E6%A5%BC%20%E6%A2%A6&");
    QTest::newRow("latin accent") << QStringLiteral("café") << QByteArray("keyword=caf%C3%A9&");
    QTest::newRow("plus and unreserved") << "c++ -._~" << QByteArray("keyword=c%2B%2B%20-._~&");
}

void TestHttpChannel::queryGoesOutPercentEncoded()
{
    QFETCH(QString, keyword);
    QFETCH(QByteArray, onWire);

    LoopbackServer server;
    server.body = "<vr/>";
    qputenv("ZARVOREADER_STORE", server.base().toLatin1());
    UrlMaker maker(RequestSearch);
    maker.searchByKeyReqAssemble("u1", "", "zh", "novel", "2014", keyword, "1", "12", "qt.2.0.0",
                                 QStringLiteral("Ünit PC"));
    const Outcome outcome = exchange(maker.getUrl());
    QVERIFY(outcome.finished);
    QCOMPARE(server.requestLines.size(), 1);
    const QByteArray line = server.requestLines.first();
    // The pairs keep the order they were formed in.
    const QByteArray expected =
        "GET /vorelreader/search.action?uid=u1&lan=zh&cat=novel&chan=2014&" + onWire +
        "pageidx=1&numperpage=12&ver=qt.2.0.0&ua=%C3%9Cnit%20PC" + " HTTP/1.1";
    QCOMPARE(line, expected);
}

void TestHttpChannel::outcomes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("sendLength");
    QTest::addColumn<qint64>("cap");
    QTest::addColumn<QByteArray>("expectedBody");
    QTest::addColumn<int>("expectedCode");

    const QByteArray doc = "<vr ret=\"0\"><uid>42</uid></vr>";
    QTest::newRow("answer") << int(LoopbackServer::Answer) << QByteArray("200 OK") << doc << true
                            << qint64(-1) << doc << int(SERVER_OK);
    QTest::newRow("answer without length") << int(LoopbackServer::Answer) << QByteArray("200 OK")
                                           << doc << false << qint64(-1) << doc << int(SERVER_OK);
    QTest::newRow("empty answer") << int(LoopbackServer::Answer) << QByteArray("200 OK")
                                  << QByteArray() << true << qint64(-1) << QByteArray()
                                  << int(SERVER_OK);
    QTest::newRow("not found, body discarded")
        << int(LoopbackServer::Answer) << QByteArray("404 Not Found") << doc << true << qint64(-1)
        << QByteArray() << int(SERVER_ERROR);
    QTest::newRow("forbidden") << int(LoopbackServer::Answer) << QByteArray("403 Forbidden") << doc
                               << true << qint64(-1) << QByteArray() << int(SERVER_ERROR);
    // A conflict is the one content error the channel lets pass as success.
    QTest::newRow("conflict counts as success")
        << int(LoopbackServer::Answer) << QByteArray("409 Conflict") << doc << true << qint64(-1)
        << QByteArray() << int(SERVER_OK);
    QTest::newRow("server failure")
        << int(LoopbackServer::Answer) << QByteArray("500 Internal Server Error") << doc << true
        << qint64(-1) << QByteArray() << int(SYSTERM_ERROR);
    QTest::newRow("cut off mid-body, no partial body")
        << int(LoopbackServer::DropMidway) << QByteArray("200 OK") << doc << true << qint64(-1)
        << QByteArray() << int(NETWORK_ERROR);
    QTest::newRow("declared length over the cap")
        << int(LoopbackServer::Answer) << QByteArray("200 OK") << QByteArray(4096, 'x') << true
        << qint64(1024) << QByteArray() << int(SYSTERM_ERROR);
    QTest::newRow("streamed answer over the cap")
        << int(LoopbackServer::Answer) << QByteArray("200 OK") << QByteArray(4096, 'x') << false
        << qint64(1024) << QByteArray() << int(SYSTERM_ERROR);
    QTest::newRow("answer exactly at the cap")
        << int(LoopbackServer::Answer) << QByteArray("200 OK") << QByteArray(1024, 'x') << false
        << qint64(1024) << QByteArray(1024, 'x') << int(SERVER_OK);
}

void TestHttpChannel::outcomes()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, sendLength);
    QFETCH(qint64, cap);
    QFETCH(QByteArray, expectedBody);
    QFETCH(int, expectedCode);

    LoopbackServer server;
    server.mode = LoopbackServer::Mode(mode);
    server.status = status;
    server.body = body;
    server.sendLength = sendLength;
    const Outcome outcome = exchange(
        QStringLiteral("http://%1/vorelreader/library.action?cat=1").arg(server.base()), -1, cap);
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.body, expectedBody);
    QCOMPARE(outcome.code, expectedCode);
}

void TestHttpChannel::refusedConnectionIsNetworkError()
{
    const Outcome outcome = exchange(
        QStringLiteral("http://127.0.0.1:%1/vorelreader/library.action").arg(refusedPort()));
    QVERIFY(outcome.finished);
    QVERIFY(outcome.body.isEmpty());
    QCOMPARE(outcome.code, int(NETWORK_ERROR));
}

void TestHttpChannel::slowAnswerTimesOut()
{
    LoopbackServer server;
    server.mode = LoopbackServer::Silent;
    const Outcome outcome =
        exchange(QStringLiteral("http://%1/vorelreader/keywords.action").arg(server.base()), 300);
    QVERIFY(outcome.finished);
    QVERIFY(outcome.body.isEmpty());
    QCOMPARE(outcome.code, int(NETWORK_ERROR));
}

void TestHttpChannel::defaultCapRefusesOversizedAnswer()
{
    LoopbackServer server;
    server.sendLength = false;
    server.body = QByteArray(16 * 1024 * 1024 + 1, 'x');
    const Outcome outcome =
        exchange(QStringLiteral("http://%1/vorelreader/library.action").arg(server.base()));
    QVERIFY(outcome.finished);
    QVERIFY(outcome.body.isEmpty());
    QCOMPARE(outcome.code, int(SYSTERM_ERROR));
}

void TestHttpChannel::abandonedExchangeReportsNothing()
{
    LoopbackServer server;
    server.mode = LoopbackServer::Silent;
    auto connection = std::make_unique<EBooklibraryConnection>(
        QStringLiteral("http://%1/vorelreader/library.action").arg(server.base()));
    connection->setTimeout(100);
    QSignalSpy spy(connection.get(), &EBooklibraryConnection::finishedRecv);
    connection->sendRequest();
    QTRY_COMPARE(server.requestLines.size(), 1);
    connection.reset();
    // Long past the timeout the dead exchange has still said nothing.
    QTest::qWait(300);
    QCOMPARE(spy.count(), 0);
}

QTEST_GUILESS_MAIN(TestHttpChannel)
#include "tst_httpchannel.moc"
