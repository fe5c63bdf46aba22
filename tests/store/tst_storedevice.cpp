// The device values and the online state that store requests depend on,
// read from ModemManager and NetworkManager stand-ins (python3-dbusmock) on
// a private bus that takes the place of the system bus.
#include "deviceinfo.h"
#include "onlinewatcher.h"
#include "privatedbus.h"

#include <QDBusMessage>
#include <QFile>
#include <QNetworkInformation>
#include <QSignalSpy>
#include <QtTest>

namespace {

const char *const MmService = "org.freedesktop.ModemManager1";
const char *const MmPath = "/org/freedesktop/ModemManager1";
const char *const NmService = "org.freedesktop.NetworkManager";
const char *const NmPath = "/org/freedesktop/NetworkManager";
const uint NmStateDisconnected = 20;
const uint NmStateConnectedGlobal = 70;

} // namespace

class TestStoreDevice : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString missing = m_bus.missingTools();
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        // Before anything opens the system bus, so every part joins this one.
        const QString started = m_bus.start();
        QVERIFY2(started.isEmpty(), qPrintable(started));
    }

    void cleanupTestCase() { m_bus.stop(); }

    void productNameIsNeverEmpty()
    {
        QFile dmi(QStringLiteral("/sys/class/dmi/id/product_name"));
        const QString name = DeviceInfo::productName();
        QVERIFY(!name.isEmpty());
        if (dmi.open(QIODevice::ReadOnly) && !dmi.readAll().trimmed().isEmpty())
            QVERIFY(!name.endsWith(QLatin1Char('\n')));
    }

    void imeiFollowsModemManager()
    {
        // No ModemManager on the bus: nothing to send.
        QCOMPARE(DeviceInfo::imei(), QString());

        const QString started = m_bus.startMock({"-m", MmService, MmPath, MmService}, MmService);
        QVERIFY2(started.isEmpty(), qPrintable(started));

        // ModemManager without a modem.
        QCOMPARE(DeviceInfo::imei(), QString());

        QVariantMap sim{{"SimIdentifier", "8901"}};
        QVERIFY(callMock(MmService, "AddObject",
                         {QStringLiteral("/org/freedesktop/ModemManager1/SIM/0"),
                          QStringLiteral("org.freedesktop.ModemManager1.Sim"), sim,
                          PrivateDBus::noMethods()}));
        QVariantMap modem{{"Manufacturer", "Acme"}, {"EquipmentIdentifier", "356938035643809"}};
        QVERIFY(callMock(MmService, "AddObject",
                         {QStringLiteral("/org/freedesktop/ModemManager1/Modem/0"),
                          QStringLiteral("org.freedesktop.ModemManager1.Modem"), modem,
                          PrivateDBus::noMethods()}));
        QCOMPARE(DeviceInfo::imei(), QStringLiteral("356938035643809"));
    }

    void onlineWithoutNetworkInformation()
    {
        // No NetworkManager on the bus: no back end, and the device counts as online.
        OnlineWatcher watcher;
        if (QNetworkInformation::instance())
            QSKIP("a network information back end loaded without NetworkManager");
        QVERIFY(watcher.isOnline());
    }

    void onlineFollowsNetworkManager()
    {
        const QString started = m_bus.startMock({"-t", "networkmanager"}, NmService);
        QVERIFY2(started.isEmpty(), qPrintable(started));

        // Made while start-up holds the back end back: the first question of
        // either watcher loads it for both.
        OnlineWatcher::deferBackend();
        OnlineWatcher asked;
        OnlineWatcher watcher;
        QVERIFY(!QNetworkInformation::instance());
        QVERIFY(asked.isOnline());
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

private:
    bool callMock(const char *service, const char *method, const QVariantList &args)
    {
        const QString path = QLatin1String(service) == QLatin1String(MmService) ? MmPath : NmPath;
        QDBusMessage call =
            QDBusMessage::createMethodCall(service, path, PrivateDBus::MockInterface, method);
        call.setArguments(args);
        const QDBusMessage reply = QDBusConnection::systemBus().call(call);
        if (reply.type() != QDBusMessage::ReplyMessage)
            qWarning() << reply.errorMessage();
        return reply.type() == QDBusMessage::ReplyMessage;
    }

    PrivateDBus m_bus{PrivateDBus::System};
};

QTEST_GUILESS_MAIN(TestStoreDevice)
#include "tst_storedevice.moc"
