// SMSSender over the ModemManager back end: a python3-dbusmock modem on a
// private system bus, whose messages fare as their text says
// (modemmanager_sms.py beside this file).

#include "modemmanagersmsbackend.h"
#include "privatedbus.h"
#include "smsbackendfactory.h"
#include "smssender.h"
#include "smstestvalues.h"

#include <QTest>
#include <memory>

using namespace SmsTest;

class TstSmsModem : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString mock =
            qEnvironmentVariable("ZR_SOURCE_DIR") + "/tests/sms/modemmanager_sms.py";
        m_skipReason = m_bus.missingTools();
        QString failed = m_skipReason.isEmpty() ? m_bus.start() : QString();
        if (m_skipReason.isEmpty() && failed.isEmpty())
            failed = m_bus.startMock({"--template", mock}, ModemManagerSmsBackend::Service);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }

    // A fresh back end for every case: a message left sending keeps its
    // back end busy.
    void init()
    {
        if (!m_skipReason.isEmpty())
            QSKIP(qPrintable(m_skipReason));
        m_backend.reset(SmsBackendFactory::create(m_bus.connection(), nullptr));
        QVERIFY(qobject_cast<ModemManagerSmsBackend *>(m_backend.get()));
    }

    void cleanupTestCase() { m_bus.stop(); }

    void sendingEndsAtTheChosenStage_data()
    {
        QTest::addColumn<int>("lastState");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("update"); // a sent-folder notice sent in: "own" or "other" id
        QTest::addColumn<unsigned int>("limit");
        QTest::addColumn<int>("expected");

        const auto row = [](const char *name, SMSSender::SendingState lastState,
                            const QString &text, unsigned int limit, SmsBackend::Error expected,
                            const QString &update = QString(), const QString &number = Number) {
            QTest::newRow(name) << int(lastState) << number << text << update << limit
                                << int(expected);
        };
        row("outbox reached", SMSSender::Outboxed, "stall", LongLimit, SmsBackend::NoError);
        row("sent", SMSSender::Sent, "测试 1+1&a=b", LongLimit, SmsBackend::NoError);
        row("sent with no outbox notice", SMSSender::Sent, "direct", LongLimit,
            SmsBackend::NoError);
        row("sent counts past the outbox", SMSSender::Outboxed, "direct", LongLimit,
            SmsBackend::NoError);
        row("never sent runs out of time", SMSSender::Sent, "stall", ShortLimit,
            SmsBackend::FrameworkFault);
        row("delivered", SMSSender::Delivered, "PAY 1001", LongLimit, SmsBackend::NoError);
        row("delivered by its own update", SMSSender::Delivered, "stall", LongLimit,
            SmsBackend::NoError, "own");
        row("another message's update changes nothing", SMSSender::Delivered, "stall", ShortLimit,
            SmsBackend::FrameworkFault, "other");
        row("no number refused at once", SMSSender::Sent, "PAY", LongLimit,
            SmsBackend::ConstraintFailure, QString(), QString());
        row("modem refuses the message", SMSSender::Sent, "refuse", LongLimit,
            SmsBackend::ConstraintFailure);
        row("modem fails while sending", SMSSender::Sent, "fail", LongLimit,
            SmsBackend::NotYetImplemented);
        // No limit given: the cancel alone has to end the wait.
        row("message withdrawn while sending", SMSSender::Delivered, "cancel", 0,
            SmsBackend::RequestIncomplete);
    }

    void sendingEndsAtTheChosenStage()
    {
        QFETCH(int, lastState);
        QFETCH(QString, number);
        QFETCH(QString, text);
        QFETCH(QString, update);
        QFETCH(unsigned int, limit);
        QFETCH(int, expected);

        SMSSender sender(m_backend.get(), SMSSender::SendingState(lastState), limit);
        bool updated = false;
        QObject scope;
        connect(m_backend.get(), &SmsBackend::messageAdded, &scope,
                [&](const QString &id, SmsBackend::Folder folder) {
                    if (update.isEmpty() || folder != SmsBackend::OutboxFolder)
                        return;
                    updated = true;
                    const QString target = update == "own" ? id : id + "/other";
                    emit m_backend->messageUpdated(target, SmsBackend::SentFolder);
                });
        QCOMPARE(int(sender.send(number, text)), expected);
        // A row ending in time must not end so before its update was sent in.
        QCOMPARE(updated, !update.isEmpty());
    }

    void busyWhileSendingFreeAfterTheLimit()
    {
        SMSSender first(m_backend.get(), SMSSender::Sent, ShortLimit);
        SMSSender second(m_backend.get(), SMSSender::Sent, LongLimit);
        QList<int> whileWaiting;
        auto scope = std::make_unique<QObject>();
        connect(m_backend.get(), &SmsBackend::messageAdded, scope.get(), [&] {
            whileWaiting << int(second.send(Number, "PAY 2")) << int(first.send(Number, "PAY 3"));
        });
        QCOMPARE(int(first.send(Number, "stall")), int(SmsBackend::FrameworkFault));
        QCOMPARE(whileWaiting, QList<int>({SmsBackend::Busy, SmsBackend::Busy}));
        // The message nobody waits for any more no longer holds the modem.
        scope.reset();
        QCOMPARE(int(second.send(Number, "PAY 2")), int(SmsBackend::NoError));
    }

    void noBackEnd()
    {
        SMSSender sender(nullptr, SMSSender::Sent, LongLimit);
        QCOMPARE(int(sender.send(Number, "PAY")), int(SmsBackend::InvalidId));
    }

private:
    PrivateDBus m_bus{PrivateDBus::System};
    QString m_skipReason;
    std::unique_ptr<SmsBackend> m_backend;
};

QTEST_MAIN(TstSmsModem)
#include "tst_smsmodem.moc"
