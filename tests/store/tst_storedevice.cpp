// The device values and the online state that store requests depend on,
// read from ModemManager and NetworkManager stand-ins (python3-dbusmock) on
// a private bus that takes the place of the system bus.
#include "deviceinfo.h"
#include "onlinewatcher.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QFile>
#include <QNetworkInformation>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

namespace {

const char *const MockInterface = "org.freedesktop.DBus.Mock";
const char *const MmService = "org.freedesktop.ModemManager1";
const char *const MmPath = "/org/freedesktop/ModemManager1";
const char *const NmService = "org.freedesktop.NetworkManager";
const char *const NmPath = "/org/freedesktop/NetworkManager";
const uint NmStateDisconnected = 20;
const uint NmStateConnectedGlobal = 70;

// One method of a mock object as dbusmock's AddObject takes it: (ssss).
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

bool hasDbusmock()
{
    QProcess probe;
    probe.start(QStringLiteral("/usr/bin/python3"), {"-c", "import dbusmock"});
    return probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit &&
           probe.exitCode() == 0;
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

class TestStoreDevice : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void productNameIsNeverEmpty();
    void imeiFollowsModemManager();
    void onlineWithoutNetworkInformation();
    void onlineFollowsNetworkManager();

private:
    bool callMock(const char *service, const char *method, const QVariantList &args);

    QProcess m_bus;
    QProcess m_modemManager;
    QProcess m_networkManager;
};

void TestStoreDevice::initTestCase()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty() || !hasDbusmock())
        QSKIP("dbus-daemon or python3-dbusmock is not installed");
    qDBusRegisterMetaType<MockMethod>();
    qDBusRegisterMetaType<QList<MockMethod>>();

    m_bus.start(daemon, {"--session", "--nofork", "--print-address"});
    QVERIFY(m_bus.waitForStarted());
    QVERIFY(m_bus.waitForReadyRead(10000));
    const QByteArray address = m_bus.readLine().trimmed();
    QVERIFY(!address.isEmpty());
    // Before anything opens the system bus, so every part joins this one.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
    QVERIFY(QDBusConnection::systemBus().isConnected());
}

void TestStoreDevice::cleanupTestCase()
{
    stop(m_networkManager);
    stop(m_modemManager);
    stop(m_bus);
}

bool TestStoreDevice::callMock(const char *service, const char *method, const QVariantList &args)
{
    const QString path = QLatin1String(service) == QLatin1String(MmService) ? MmPath : NmPath;
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, MockInterface, method);
    call.setArguments(args);
    const QDBusMessage reply = QDBusConnection::systemBus().call(call);
    if (reply.type() != QDBusMessage::ReplyMessage)
        qWarning() << reply.errorMessage();
    return reply.type() == QDBusMessage::ReplyMessage;
}

void TestStoreDevice::productNameIsNeverEmpty()
{
    QFile dmi(QStringLiteral("/sys/class/dmi/id/product_name"));
    const QString name = DeviceInfo::productName();
    QVERIFY(!name.isEmpty());
    if (dmi.open(QIODevice::ReadOnly) && !dmi.readAll().trimmed().isEmpty())
        QVERIFY(!name.endsWith(QLatin1Char('\n')));
}

void TestStoreDevice::imeiFollowsModemManager()
{
    // No ModemManager on the bus: nothing to send.
    QCOMPARE(DeviceInfo::imei(), QString());

    m_modemManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_modemManager.start(QStringLiteral("/usr/bin/python3"),
                         {"-m", "dbusmock", "--system", "-m", MmService, MmPath, MmService});
    QVERIFY(m_modemManager.waitForStarted());
    QDBusConnectionInterface *bus = QDBusConnection::systemBus().interface();
    QTRY_VERIFY_WITH_TIMEOUT(bus->isServiceRegistered(MmService), 20000);

    // ModemManager without a modem.
    QCOMPARE(DeviceInfo::imei(), QString());

    QVariantMap sim{{"SimIdentifier", "8901"}};
    QVERIFY(callMock(MmService, "AddObject",
                     {QStringLiteral("/org/freedesktop/ModemManager1/SIM/0"),
                      QStringLiteral("org.freedesktop.ModemManager1.Sim"), sim,
                      QVariant::fromValue(QList<MockMethod>())}));
    QVariantMap modem{{"Manufacturer", "Acme"}, {"EquipmentIdentifier", "356938035643809"}};
    QVERIFY(callMock(MmService, "AddObject",
                     {QStringLiteral("/org/freedesktop/ModemManager1/Modem/0"),
                      QStringLiteral("org.freedesktop.ModemManager1.Modem"), modem,
                      QVariant::fromValue(QList<MockMethod>())}));
    QCOMPARE(DeviceInfo::imei(), QStringLiteral("356938035643809"));
}

void TestStoreDevice::onlineWithoutNetworkInformation()
{
    // No NetworkManager on the bus: no back end, and the device counts as online.
    OnlineWatcher watcher;
    if (QNetworkInformation::instance())
        QSKIP("a network information back end loaded without NetworkManager");
    QVERIFY(watcher.isOnline());
}

void TestStoreDevice::onlineFollowsNetworkManager()
{
    m_networkManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_networkManager.start(QStringLiteral("/usr/bin/python3"),
                           {"-m", "dbusmock", "--system", "-t", "networkmanager"});
    QVERIFY(m_networkManager.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(
        QDBusConnection::systemBus().interface()->isServiceRegistered(NmService), 20000);

    OnlineWatcher watcher;
    if (!QNetworkInformation::instance())
        QSKIP("the NetworkManager back end of QNetworkInformation is not installed");
    QVERIFY(watcher.isOnline());
    QSignalSpy spy(&watcher, &OnlineWatcher::onlineStateChanged);

    QVERIFY(callMock(NmService, "SetGlobalConnectionState", {NmStateDisconnected}));
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 20000);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
    QVERIFY(!watcher.isOnline());

    QVERIFY(callMock(NmService, "SetGlobalConnectionState", {NmStateConnectedGlobal}));
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 2, 20000);
    QCOMPARE(spy.at(1).at(0).toBool(), true);
    QVERIFY(watcher.isOnline());
}

QTEST_GUILESS_MAIN(TestStoreDevice)
#include "tst_storedevice.moc"
