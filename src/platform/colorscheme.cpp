#include "colorscheme.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {
const char *const PortalService = "org.freedesktop.portal.Desktop";
const char *const PortalPath = "/org/freedesktop/portal/desktop";
const char *const SettingsInterface = "org.freedesktop.portal.Settings";
const char *const Group = "org.freedesktop.appearance";
const char *const Key = "color-scheme";

// Read wraps the value in one more variant than ReadOne; unwrap them all.
QVariant unwrapped(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}
} // namespace

ColorScheme::ColorScheme(QObject *parent) : ColorScheme(QDBusConnection::sessionBus(), parent) {}

ColorScheme::ColorScheme(const QDBusConnection &bus, QObject *parent) : QObject(parent), m_bus(bus)
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(QLatin1String(PortalService), QLatin1String(PortalPath),
                  QLatin1String(SettingsInterface), QStringLiteral("SettingChanged"), this,
                  SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    // Asked without waiting: the screens start light and turn dark when the
    // answer comes, rather than wait on a portal that is slow to start.
    ask(QStringLiteral("ReadOne"));
}

QString ColorScheme::normalMode(const QString &mode)
{
    if (mode == QLatin1String("light") || mode == QLatin1String("dark"))
        return mode;
    return QStringLiteral("system");
}

void ColorScheme::setMode(const QString &mode)
{
    const QString normal = normalMode(mode);
    if (normal == m_mode)
        return;
    const bool wasDark = dark();
    m_mode = normal;
    emit modeChanged(m_mode);
    changeDark(wasDark);
}

bool ColorScheme::dark() const
{
    if (m_mode == QLatin1String("system"))
        return m_systemDark;
    return m_mode == QLatin1String("dark");
}

void ColorScheme::ask(const QString &method)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(PortalService), QLatin1String(PortalPath),
                                       QLatin1String(SettingsInterface), method);
    call << QLatin1String(Group) << QLatin1String(Key);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    watcher->setProperty("method", method);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &ColorScheme::onReadFinished);
}

void ColorScheme::onReadFinished(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    const QDBusPendingReply<QDBusVariant> reply = *call;
    if (!reply.isError()) {
        setSystemValue(reply.value().variant());
        return;
    }
    // Portals before version 2 know only Read.
    if (call->property("method").toString() == QLatin1String("ReadOne") &&
        reply.error().type() == QDBusError::UnknownMethod)
        ask(QStringLiteral("Read"));
}

void ColorScheme::onSettingChanged(const QString &group, const QString &key,
                                   const QDBusVariant &value)
{
    if (group == QLatin1String(Group) && key == QLatin1String(Key))
        setSystemValue(value.variant());
}

void ColorScheme::setSystemValue(const QVariant &value)
{
    bool ok = false;
    const uint scheme = unwrapped(value).toUInt(&ok);
    // A value of the wrong type counts as no preference.
    const bool systemDark = ok && prefersDark(scheme);
    if (systemDark == m_systemDark)
        return;
    const bool wasDark = dark();
    m_systemDark = systemDark;
    emit systemDarkChanged();
    changeDark(wasDark);
}

void ColorScheme::changeDark(bool wasDark)
{
    if (dark() != wasDark)
        emit darkChanged();
}
