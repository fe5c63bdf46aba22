#include "smsbackendfactory.h"

#include "httpgatewaysmsbackend.h"
#include "modemmanagersmsbackend.h"
#include "storehead.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QMap>

// What ObjectManager.GetManagedObjects answers: a{oa{sa{sv}}}.
using InterfaceProperties = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceProperties>;
Q_DECLARE_METATYPE(InterfaceProperties)
Q_DECLARE_METATYPE(ManagedObjects)

namespace {

const char *const ModemManagerPath = "/org/freedesktop/ModemManager1";
// Start-up waits no longer than this for a ModemManager that hangs.
const int LookupTimeoutMs = 1000;

} // namespace

SmsBackend *SmsBackendFactory::create(const QUrl &gateway, QObject *parent)
{
    return create(QDBusConnection::systemBus(), gateway, parent);
}

SmsBackend *SmsBackendFactory::create(const QDBusConnection &bus, QObject *parent)
{
    return create(bus, gatewayUrl(), parent);
}

SmsBackend *SmsBackendFactory::create(const QDBusConnection &bus, const QUrl &gateway,
                                      QObject *parent)
{
    const QString modem = messagingModem(bus);
    if (!modem.isEmpty())
        return new ModemManagerSmsBackend(bus, modem, parent);
    return new HttpGatewaySmsBackend(gateway, parent);
}

QString SmsBackendFactory::messagingModem(const QDBusConnection &bus)
{
    const QString service = QLatin1String(ModemManagerSmsBackend::Service);
    // Asking an absent service would start bus activation and wait for it.
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(service).value())
        return QString();
    qDBusRegisterMetaType<InterfaceProperties>();
    qDBusRegisterMetaType<ManagedObjects>();
    const QDBusMessage call = QDBusMessage::createMethodCall(
        service, QLatin1String(ModemManagerPath),
        QStringLiteral("org.freedesktop.DBus.ObjectManager"), QStringLiteral("GetManagedObjects"));
    const QDBusReply<ManagedObjects> objects = bus.call(call, QDBus::Block, LookupTimeoutMs);
    if (!objects.isValid())
        return QString();
    const ManagedObjects found = objects.value();
    for (auto it = found.cbegin(); it != found.cend(); ++it) {
        if (it.value().contains(QLatin1String(ModemManagerSmsBackend::MessagingInterface)))
            return it.key().path();
    }
    return QString();
}

QUrl SmsBackendFactory::gatewayUrl()
{
    const QString configured = qEnvironmentVariable("ZARVOREADER_SMS_GATEWAY");
    if (!configured.isEmpty())
        return QUrl(configured);
    // The store server is also the carrier's gateway.
    QUrl store(StoreHead().url());
    store.setPath(QStringLiteral("/sms/send"));
    return store;
}
