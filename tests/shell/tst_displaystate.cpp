// Display on/off from a screen saver on a private session bus: a real
// dbus-daemon and a python3-dbusmock screen saver that emits ActiveChanged.

#include "displaystatewatcher.h"
#include "ebookreaderapp.h"
#include "privatedbus.h"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const char *const Service = "org.freedesktop.ScreenSaver";
const char *const MainPath = "/org/freedesktop/ScreenSaver";
const char *const ShortPath = "/ScreenSaver";
const char *const MockInterface = PrivateDBus::MockInterface;
} // namespace

class TstDisplayState : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_skipReason = m_bus.missingTools();
        if (!m_skipReason.isEmpty())
            return;
        // Before anything asks for the session bus, so the reader joins this one.
        const QString started = m_bus.start();
        QVERIFY2(started.isEmpty(), qPrintable(started));
        const QString mocked = m_bus.startMock({Service, MainPath, Service}, Service);
        QVERIFY2(mocked.isEmpty(), qPrintable(mocked));

        // Older desktops announce on the short path as well.
        QDBusMessage add =
            QDBusMessage::createMethodCall(Service, MainPath, MockInterface, "AddObject");
        add << QString(ShortPath) << QString(Service) << QVariantMap() << PrivateDBus::noMethods();
        const QDBusMessage reply = m_bus.connection().call(add);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
    }

    void cleanupTestCase() { m_bus.stop(); }

    void noBusNoEvents()
    {
        const QDBusConnection none =
            QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "none");
        DisplayStateWatcher watcher(none);
        QVERIFY(!watcher.isListening());
        QDBusConnection::disconnectFromBus("none");
    }

    void screenSaverDrivesTheApplication_data()
    {
        QTest::addColumn<QStringList>("announcements");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("short path")
            << QStringList{"short:1", "short:0"} << QStringList{"sleep", "wakeup"};
        QTest::newRow("announced on both paths")
            << QStringList{"main:1", "short:1", "main:0", "short:0", "main:1"}
            << QStringList{"sleep", "wakeup", "sleep"};
    }

    void screenSaverDrivesTheApplication()
    {
        if (!m_skipReason.isEmpty())
            QSKIP(qPrintable(m_skipReason));
        QFETCH(QStringList, announcements);
        QFETCH(QStringList, expected);

        QTemporaryDir root;
        qputenv("ZARVOREADER_ROOT", root.path().toLocal8Bit());
        EBookReaderApp app;
        QStringList seen;
        connect(&app, &EBookReaderApp::sleep, this, [&seen] { seen << "sleep"; });
        connect(&app, &EBookReaderApp::wakeup, this, [&seen] { seen << "wakeup"; });

        for (const QString &announcement : announcements) {
            const QStringList parts = announcement.split(':');
            const QString path = parts.at(0) == "main" ? MainPath : ShortPath;
            QVERIFY(emitActiveChanged(path, parts.at(1) == "1"));
        }
        // The last announcement always changes the state, so once its event is
        // here every earlier one has been delivered too.
        QTRY_COMPARE_WITH_TIMEOUT(seen.size(), expected.size(), 20000);
        QCOMPARE(seen, expected);
    }

private:
    bool emitActiveChanged(const QString &path, bool active)
    {
        QDBusMessage call =
            QDBusMessage::createMethodCall(Service, path, MockInterface, "EmitSignal");
        QDBusArgument args;
        args.beginArray(QMetaType::fromType<QDBusVariant>());
        args << QDBusVariant(active);
        args.endArray();
        call << QString(Service) << QString("ActiveChanged") << QString("b")
             << QVariant::fromValue(args);
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
        if (reply.type() == QDBusMessage::ErrorMessage)
            qWarning() << reply.errorMessage();
        return reply.type() == QDBusMessage::ReplyMessage;
    }

    PrivateDBus m_bus{PrivateDBus::Session};
    QString m_skipReason;
};

QTEST_MAIN(TstDisplayState)
#include "tst_displaystate.moc"
