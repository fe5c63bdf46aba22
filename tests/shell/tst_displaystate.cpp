// Display on/off from a screen saver on a private session bus: a real
// dbus-daemon and a python3-dbusmock screen saver that emits ActiveChanged.

#include "displaystatewatcher.h"
#include "ebookreaderapp.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
const char *const Service = "org.freedesktop.ScreenSaver";
const char *const MainPath = "/org/freedesktop/ScreenSaver";
const char *const ShortPath = "/ScreenSaver";
const char *const MockInterface = "org.freedesktop.DBus.Mock";

// One method of a mock object, as dbusmock's AddObject takes it: (ssss).
struct MockMethod
{
    QString name, inSignature, outSignature, code;
};

QDBusArgument &operator<<(QDBusArgument &arg, const MockMethod &m)
{
    arg.beginStructure();
    arg << m.name << m.inSignature << m.outSignature << m.code;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, MockMethod &m)
{
    arg.beginStructure();
    arg >> m.name >> m.inSignature >> m.outSignature >> m.code;
    arg.endStructure();
    return arg;
}

// Debian's python carries python3-dbusmock; a python of its own may not.
QString pythonWithDbusmock()
{
    for (const QString &candidate :
         {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess probe;
        probe.start(candidate, {"-c", "import dbusmock"});
        if (probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return candidate;
    }
    return {};
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(5000);
}
} // namespace

Q_DECLARE_METATYPE(MockMethod)

class TstDisplayState : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void noBusNoEvents();
    void screenSaverDrivesTheApplication_data();
    void screenSaverDrivesTheApplication();

private:
    bool emitActiveChanged(const QString &path, bool active);

    QProcess m_bus;
    QProcess m_mock;
    QString m_skipReason;
};

void TstDisplayState::initTestCase()
{
    const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
    const QString python = pythonWithDbusmock();
    if (daemon.isEmpty() || python.isEmpty()) {
        m_skipReason = "dbus-daemon or python3-dbusmock is not installed";
        return;
    }

    qDBusRegisterMetaType<MockMethod>();
    qDBusRegisterMetaType<QList<MockMethod>>();

    m_bus.start(daemon, {"--session", "--nofork", "--print-address"});
    QVERIFY(m_bus.waitForStarted());
    QVERIFY(m_bus.waitForReadyRead(10000));
    const QByteArray address = m_bus.readLine().trimmed();
    QVERIFY(!address.isEmpty());
    // Before anything asks for the session bus, so the reader joins this one.
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);

    m_mock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_mock.start(python, {"-m", "dbusmock", Service, MainPath, Service});
    QVERIFY(m_mock.waitForStarted());
    QDBusConnection bus = QDBusConnection::sessionBus();
    QVERIFY(bus.isConnected());
    QTRY_VERIFY_WITH_TIMEOUT(bus.interface()->isServiceRegistered(Service), 20000);

    // Older desktops announce on the short path as well.
    QDBusMessage add =
        QDBusMessage::createMethodCall(Service, MainPath, MockInterface, "AddObject");
    add << QString(ShortPath) << QString(Service) << QVariantMap()
        << QVariant::fromValue(QList<MockMethod>());
    const QDBusMessage reply = bus.call(add);
    QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
}

void TstDisplayState::cleanupTestCase()
{
    stop(m_mock);
    stop(m_bus);
}

bool TstDisplayState::emitActiveChanged(const QString &path, bool active)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, path, MockInterface, "EmitSignal");
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

void TstDisplayState::noBusNoEvents()
{
    const QDBusConnection none =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "none");
    DisplayStateWatcher watcher(none);
    QVERIFY(!watcher.isListening());
    QDBusConnection::disconnectFromBus("none");
}

void TstDisplayState::screenSaverDrivesTheApplication_data()
{
    QTest::addColumn<QStringList>("announcements");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("off then on") << QStringList{"main:1", "main:0"}
                                 << QStringList{"sleep", "wakeup"};
    QTest::newRow("short path") << QStringList{"short:1", "short:0"}
                                << QStringList{"sleep", "wakeup"};
    QTest::newRow("announced on both paths")
        << QStringList{"main:1", "short:1", "main:0", "short:0", "main:1"}
        << QStringList{"sleep", "wakeup", "sleep"};
}

void TstDisplayState::screenSaverDrivesTheApplication()
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

QTEST_MAIN(TstDisplayState)
#include "tst_displaystate.moc"
