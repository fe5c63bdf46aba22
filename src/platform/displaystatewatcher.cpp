#include "displaystatewatcher.h"

namespace {
const char *const ScreenSaverService = "org.freedesktop.ScreenSaver";
const char *const ScreenSaverInterface = "org.freedesktop.ScreenSaver";
// The freedesktop path and the short one older desktops still use.
const char *const ScreenSaverPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};
} // namespace

DisplayStateWatcher::DisplayStateWatcher(QObject *parent) : QObject(parent)
{
    listen(QDBusConnection::sessionBus());
}

DisplayStateWatcher::DisplayStateWatcher(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
{
    listen(bus);
}

void DisplayStateWatcher::listen(QDBusConnection bus)
{
    if (!bus.isConnected())
        return;
    for (const char *path : ScreenSaverPaths) {
        const bool ok =
            bus.connect(QLatin1String(ScreenSaverService), QLatin1String(path),
                        QLatin1String(ScreenSaverInterface), QStringLiteral("ActiveChanged"), this,
                        SLOT(onScreenSaverActiveChanged(bool)));
        m_listening = m_listening || ok;
    }
}

void DisplayStateWatcher::onScreenSaverActiveChanged(bool active)
{
    const DisplayState state = active ? Off : On;
    if (state == m_lastState)
        return;
    m_lastState = state;
    emit displayStateChanged(state);
}
