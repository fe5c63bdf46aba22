// SMSSender over the HTTP gateway back end, as the factory picks it when the
// system bus has no modem: the store server's own gateway, a closed port and
// loopback fixtures that answer badly or not at all.

#include "fixtureserver.h"
#include "httpgatewaysmsbackend.h"
#include "smsbackendfactory.h"
#include "smssender.h"
#include "smstestvalues.h"
#include "storeserverprocess.h"

#include <QDBusConnection>
#include <QNetworkProxy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(FixtureServer::Shape)

using namespace SmsTest;

class TstSmsGateway : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QVERIFY(m_books.isValid() && m_root.isValid());
        m_server.setDataRoot(m_root.path());
        const QString started = m_server.start(m_books.path());
        QVERIFY2(started.isEmpty(), qPrintable(started));
        QVERIFY(m_fixture.isListening());
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        m_closedPort = closed.serverPort();
    }

    void gatewayAnswers_data()
    {
        QTest::addColumn<QString>("gateway"); // "store", "closed" or "fixture"
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<FixtureServer::Shape>("shape");
        QTest::addColumn<int>("lastState");
        QTest::addColumn<QString>("body");
        QTest::addColumn<unsigned int>("limit");
        QTest::addColumn<int>("expected");

        const auto store = [](const char *name, int lastState, const QString &body, int expected) {
            QTest::newRow(name) << "store" << 0 << QByteArray() << FixtureServer::Whole << lastState
                                << body << LongLimit << expected;
        };
        store("store: sent", SMSSender::Sent, "测试 1+1&a=b", SmsBackend::NoError);
        store("store: delivered", SMSSender::Delivered, "PAY 1", SmsBackend::NoError);
        store("store: outboxed", SMSSender::Outboxed, "PAY 1", SmsBackend::NoError);
        store("store refuses an empty body", SMSSender::Sent, "", SmsBackend::ConstraintFailure);
        QTest::newRow("closed port")
            << "closed" << 0 << QByteArray() << FixtureServer::Whole << int(SMSSender::Sent)
            << "PAY 1" << LongLimit << int(SmsBackend::FrameworkFault);

        const auto fixture = [](const char *name, int status, const QByteArray &answer,
                                FixtureServer::Shape shape, unsigned int limit) {
            QTest::newRow(name) << "fixture" << status << answer << shape << int(SMSSender::Sent)
                                << "PAY 1" << limit << int(SmsBackend::FrameworkFault);
        };
        const QByteArray sent = "<vr ret=\"sent\"><id>7</id></vr>";
        fixture("server error", 500, sent, FixtureServer::Whole, LongLimit);
        fixture("not a gateway answer", 200, "<html><body>sent</body></html>", FixtureServer::Whole,
                LongLimit);
        fixture("answer without message id", 200, "<vr ret=\"sent\"/>", FixtureServer::Whole,
                LongLimit);
        fixture("answer cut short", 200, sent, FixtureServer::CutShort, LongLimit);
        fixture("answer too large", 200, sent + QByteArray(200 * 1024, ' '),
                FixtureServer::Streamed, LongLimit);
        fixture("no answer runs out of time", 200, sent, FixtureServer::Silent, ShortLimit);
    }

    void gatewayAnswers()
    {
        QFETCH(QString, gateway);
        QFETCH(int, status);
        QFETCH(QByteArray, answer);
        QFETCH(FixtureServer::Shape, shape);
        QFETCH(int, lastState);
        QFETCH(QString, body);
        QFETCH(unsigned int, limit);
        QFETCH(int, expected);

        // Unset, the store's own gateway is used.
        qunsetenv("ZARVOREADER_SMS_GATEWAY");
        qputenv("ZARVOREADER_STORE", m_server.hostPort().toUtf8());
        if (gateway != "store") {
            const quint16 port = gateway == "closed" ? m_closedPort : m_fixture.serverPort();
            qputenv("ZARVOREADER_SMS_GATEWAY",
                    QStringLiteral("http://127.0.0.1:%1/sms/send").arg(port).toUtf8());
        }
        m_fixture.setRoute([=](const QUrl &) {
            return FixtureServer::Reply{status, answer, shape};
        });
        const QDBusConnection noBus =
            QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "none");
        std::unique_ptr<SmsBackend> backend(SmsBackendFactory::create(noBus, nullptr));
        QDBusConnection::disconnectFromBus("none");
        QVERIFY(qobject_cast<HttpGatewaySmsBackend *>(backend.get()));

        SMSSender sender(backend.get(), SMSSender::SendingState(lastState), limit);
        QCOMPARE(int(sender.send(Number, body)), expected);
        // Whatever the end, the back end takes the next message.
        QVERIFY(backend->state() != SmsBackend::ActiveState);
    }

private:
    QTemporaryDir m_books;
    QTemporaryDir m_root;
    StoreServerProcess m_server;
    FixtureServer m_fixture;
    quint16 m_closedPort = 0;
};

QTEST_MAIN(TstSmsGateway)
#include "tst_smsgateway.moc"
