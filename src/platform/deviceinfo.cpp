#include "deviceinfo.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QSysInfo>

namespace {

const char *const MmService = "org.freedesktop.ModemManager1";
const char *const MmPath = "/org/freedesktop/ModemManager1";
const char *const MmModemInterface = "org.freedesktop.ModemManager1.Modem";
const char *const MmIdentifierProperty = "EquipmentIdentifier";
// A store request waits for this at most; a hung ModemManager must not stall
// the screens.
const int BusTimeoutMs = 500;

// Reads the "EquipmentIdentifier" of a modem interface's property map
// (a{sv}); empty when the map does not carry it.
QString identifierFromProperties(const QDBusArgument &props)
{
    QString identifier;
    props.beginMap();
    while (!props.atEnd()) {
        QString name;
        QDBusVariant value;
        props.beginMapEntry();
        props >> name >> value;
        props.endMapEntry();
        if (name == QLatin1String(MmIdentifierProperty))
            identifier = value.variant().toString();
    }
    props.endMap();
    return identifier;
}

// Walks ModemManager's managed objects (a{oa{sa{sv}}}) and returns the first
// modem's identifier.
QString identifierFromManagedObjects(const QDBusArgument &objects)
{
    QString found;
    objects.beginMap();
    while (!objects.atEnd()) {
        QDBusObjectPath path;
        objects.beginMapEntry();
        objects >> path;
        objects.beginMap();
        while (!objects.atEnd()) {
            QString interface;
            objects.beginMapEntry();
            objects >> interface;
            if (interface == QLatin1String(MmModemInterface) && found.isEmpty()) {
                found = identifierFromProperties(objects);
            } else {
                QVariantMap ignored;
                objects >> ignored;
            }
            objects.endMapEntry();
        }
        objects.endMap();
        objects.endMapEntry();
    }
    objects.endMap();
    return found;
}

} // namespace

QString DeviceInfo::imei()
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() || !bus.interface())
        return QString();
    // Asking an absent service would start bus activation and wait for it.
    if (!bus.interface()->isServiceRegistered(QLatin1String(MmService)))
        return QString();

    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(MmService), QLatin1String(MmPath),
        QLatin1String("org.freedesktop.DBus.ObjectManager"), QLatin1String("GetManagedObjects"));
    const QDBusMessage reply = bus.call(call, QDBus::Block, BusTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QString();
    const QVariant first = reply.arguments().constFirst();
    if (!first.canConvert<QDBusArgument>())
        return QString();
    return identifierFromManagedObjects(first.value<QDBusArgument>());
}

QString DeviceInfo::productName()
{
    const QString dmi = dmiProductName();
    if (!dmi.isEmpty())
        return dmi;
    return QSysInfo::prettyProductName();
}

QString DeviceInfo::dmiProductName()
{
    QFile file(QStringLiteral("/sys/class/dmi/id/product_name"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // The file is one short line; a bounded read keeps an odd sysfs sane.
    return QString::fromUtf8(file.read(256)).trimmed();
}
