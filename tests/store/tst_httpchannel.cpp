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
    void queryGoesOutPercentEncoded_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QByteArray>("onWire");
        QTest::newRow("space") << "old man" << QByteArray("keyword=old%20man&");
        QTest::newRow("chinese with space")
            << QStringLiteral("红楼 梦") << QByteArray("keyword=%E7%BA%A2%E6%A5%BC%20%E6%A2%A6&");
        QTest::newRow("latin accent") << QStringLiteral("café") << QByteArray("keyword=caf%C3%A9&");
        QTest::newRow("plus and unreserved") << "c++ -._~" << QByteArray("keyword=c%2B%2B%20-._~&");
    }

    void queryGoesOutPercentEncoded()
    {
        QFETCH(QString, keyword);
        QFETCH(QByteArray, onWire);
        FixtureServer server;
        server.setRoute([](const QUrl &) { return Reply{200, "<vr/>"}; });
        qputenv("ZARVOREADER_STORE", server.hostPort().toLatin1());
        UrlMaker maker(RequestSearch);
        maker.searchByKeyReqAssemble("u1", "", "zh", "c", "ch", keyword, "1", "12", "v",
                                     QStringLiteral("Ünit PC"));
        EBooklibraryConnection connection(maker.getUrl());
        QSignalSpy spy(&connection, &EBooklibraryConnection::finishedRecv);
        connection.sendRequest();
        QVERIFY(spy.wait(20000));
        // The pairs keep the order they were formed in.
        const QByteArray target = "/vorelreader/search.action?uid=u1&lan=zh&cat=c&chan=ch&" +
                                  onWire + "pageidx=1&numperpage=12&ver=v&ua=%C3%9Cnit%20PC";
        QCOMPARE(server.targets, QList<QByteArray>{target});
    }

    void outcomes_data()
    {
        QTest::addColumn<Reply>("reply");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("bodyKept");
        QTest::addColumn<qint64>("cap");
        QTest::addColumn<int>("timeoutMs");
        auto row = [](const char *name, const Reply &reply, int code, bool bodyKept = false,
                      qint64 cap = -1, int timeoutMs = -1) {
            QTest::newRow(name) << reply << code << bodyKept << cap << timeoutMs;
        };
        const QByteArray doc = "<vr ret=\"0\"><uid>42</uid></vr>";
        const QByteArray k4(4096, 'x');
        using S = FixtureServer::Shape;
        row("answer", {200, doc}, SERVER_OK, true);
        row("answer without length", {200, doc, S::Streamed}, SERVER_OK, true);
        row("empty answer", {200, {}}, SERVER_OK, true);
        row("not found, body discarded", {404, doc}, SERVER_ERROR);
        // A conflict is the one content error the channel lets pass as success.
        row("conflict counts as success", {409, doc}, SERVER_OK);
        row("server failure", {500, doc}, SYSTERM_ERROR);
        row("cut off mid-body, no partial body", {200, doc, S::CutShort}, NETWORK_ERROR);
        // Status 0: nobody listens on the port any more.
        row("refused", {0, {}}, NETWORK_ERROR);
        row("slow answer times out", {200, doc, S::Silent}, NETWORK_ERROR, false, -1, 300);
        row("declared length over the cap", {200, k4}, SYSTERM_ERROR, false, 1024);
        row("streamed answer over the cap", {200, k4, S::Streamed}, SYSTERM_ERROR, false, 1024);
        row("answer exactly at the cap", {200, k4, S::Streamed}, SERVER_OK, true, 4096);
        row("over the default cap", {200, QByteArray(16 * 1024 * 1024 + 1, 'x'), S::Streamed},
            SYSTERM_ERROR);
    }

    void outcomes()
    {
        QFETCH(Reply, reply);
        QFETCH(int, code);
        QFETCH(bool, bodyKept);
        QFETCH(qint64, cap);
        QFETCH(int, timeoutMs);

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

    void abandonedExchangeReportsNothing()
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
};

QTEST_GUILESS_MAIN(TestHttpChannel)
#include "tst_httpchannel.moc"
