// The store request channel against a real HTTP server on a loopback port:
// what goes out on the wire, and how every kind of outcome is reported.
#include "commondef.h"
#include "ebooklibraryconnection.h"
#include "fixtureserver.h"
#include "urlmaker.h"

#include <QSignalSpy>
#include <QtTest>
#include <memory>

using Reply = FixtureServer::Reply;
Q_DECLARE_METATYPE(Reply)

class TestHttpChannel : public QObject
{
    Q_OBJECT
private slots:
    void queryGoesOutPercentEncoded_data();
    void queryGoesOutPercentEncoded();
    void outcomes_data();
    void outcomes();
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
    FixtureServer server;
    server.setRoute([](const QUrl &) { return Reply{200, "<vr/>"}; });
    qputenv("ZARVOREADER_STORE", server.hostPort().toLatin1());
    UrlMaker maker(RequestSearch);
    maker.searchByKeyReqAssemble("u1", "", "zh", "novel", "2014", keyword, "1", "12", "qt.2.0.0",
                                 QStringLiteral("Ünit PC"));
    EBooklibraryConnection connection(maker.getUrl());
    QSignalSpy spy(&connection, &EBooklibraryConnection::finishedRecv);
    connection.sendRequest();
    QVERIFY(spy.wait(20000));
    // The pairs keep the order they were formed in.
    QCOMPARE(server.targets, QList<QByteArray>{"/vorelreader/search.action?uid=u1&lan=zh&cat=novel"
                                               "&chan=2014&" +
                                               onWire +
                                               "pageidx=1&numperpage=12&ver=qt.2.0.0"
                                               "&ua=%C3%9Cnit%20PC"});
}

void TestHttpChannel::outcomes_data()
{
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<qint64>("cap");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<bool>("bodyKept");
    QTest::addColumn<int>("code");

    const QByteArray doc = "<vr ret=\"0\"><uid>42</uid></vr>";
    const QByteArray k4(4096, 'x');
    using S = FixtureServer::Shape;
    QTest::newRow("answer") << Reply{200, doc} << -1LL << -1 << true << int(SERVER_OK);
    QTest::newRow("answer without length")
        << Reply{200, doc, S::Streamed} << -1LL << -1 << true << int(SERVER_OK);
    QTest::newRow("empty answer") << Reply{200, {}} << -1LL << -1 << true << int(SERVER_OK);
    QTest::newRow("not found, body discarded")
        << Reply{404, doc} << -1LL << -1 << false << int(SERVER_ERROR);
    QTest::newRow("forbidden") << Reply{403, doc} << -1LL << -1 << false << int(SERVER_ERROR);
    // A conflict is the one content error the channel lets pass as success.
    QTest::newRow("conflict counts as success")
        << Reply{409, doc} << -1LL << -1 << false << int(SERVER_OK);
    QTest::newRow("server failure") << Reply{500, doc} << -1LL << -1 << false << int(SYSTERM_ERROR);
    QTest::newRow("cut off mid-body, no partial body")
        << Reply{200, doc, S::CutShort} << -1LL << -1 << false << int(NETWORK_ERROR);
    // Status 0: nobody listens on the port any more.
    QTest::newRow("refused") << Reply{0, {}} << -1LL << -1 << false << int(NETWORK_ERROR);
    QTest::newRow("slow answer times out")
        << Reply{200, doc, S::Silent} << -1LL << 300 << false << int(NETWORK_ERROR);
    QTest::newRow("declared length over the cap")
        << Reply{200, k4} << 1024LL << -1 << false << int(SYSTERM_ERROR);
    QTest::newRow("streamed answer over the cap")
        << Reply{200, k4, S::Streamed} << 1024LL << -1 << false << int(SYSTERM_ERROR);
    QTest::newRow("answer exactly at the cap")
        << Reply{200, k4, S::Streamed} << 4096LL << -1 << true << int(SERVER_OK);
    QTest::newRow("over the default cap")
        << Reply{200, QByteArray(16 * 1024 * 1024 + 1, 'x'), S::Streamed} << -1LL << -1 << false
        << int(SYSTERM_ERROR);
}

void TestHttpChannel::outcomes()
{
    QFETCH(Reply, reply);
    QFETCH(qint64, cap);
    QFETCH(int, timeoutMs);
    QFETCH(bool, bodyKept);
    QFETCH(int, code);

    FixtureServer server;
    server.setRoute([reply](const QUrl &) { return reply; });
    const QString url = "http://" + server.hostPort() + "/vorelreader/library.action?cat=1";
    if (reply.status == 0)
        server.close();
    EBooklibraryConnection connection(url);
    if (timeoutMs >= 0)
        connection.setTimeout(timeoutMs);
    if (cap >= 0)
        connection.setMaxReplySize(cap);
    QSignalSpy spy(&connection, &EBooklibraryConnection::finishedRecv);
    connection.sendRequest();
    QVERIFY(spy.wait(20000));
    QCOMPARE(connection.getRevByteArray(), bodyKept ? reply.body : QByteArray());
    QCOMPARE(connection.GetHttpErrorCode(), code);
}

void TestHttpChannel::abandonedExchangeReportsNothing()
{
    FixtureServer server;
    server.setRoute([](const QUrl &) { return Reply{200, {}, FixtureServer::Silent}; });
    auto connection = std::make_unique<EBooklibraryConnection>("http://" + server.hostPort() +
                                                               "/vorelreader/library.action");
    connection->setTimeout(100);
    QSignalSpy spy(connection.get(), &EBooklibraryConnection::finishedRecv);
    connection->sendRequest();
    QTRY_COMPARE(server.targets.size(), 1);
    connection.reset();
    // Long past the timeout the dead exchange has still said nothing.
    QTest::qWait(300);
    QCOMPARE(spy.count(), 0);
}

QTEST_GUILESS_MAIN(TestHttpChannel)
#include "tst_httpchannel.moc"
