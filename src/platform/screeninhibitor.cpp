#include "screeninhibitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <iterator>

namespace {
const char *const ScreenSaverService = "org.freedesktop.ScreenSaver";
const char *const ScreenSaverInterface = "org.freedesktop.ScreenSaver";
// The freedesktop path, then the short one older desktops offer instead.
const char *const ScreenSaverPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};
constexpr int PathCount = int(std::size(ScreenSaverPaths));
constexpr int ReleaseTimeoutMs = 1000;

QDBusMessage screenSaverCall(int pathIndex, const QString &method)
{
    return QDBusMessage::createMethodCall(QLatin1String(ScreenSaverService),
                                          QLatin1String(ScreenSaverPaths[pathIndex]),
                                          QLatin1String(ScreenSaverInterface), method);
}
} // namespace

ScreenInhibitor::ScreenInhibitor(QObject *parent)
    : ScreenInhibitor(QDBusConnection::sessionBus(), parent)
{}

ScreenInhibitor::ScreenInhibitor(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_bus(bus)
{
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        m_foreground = QGuiApplication::applicationState() == Qt::ApplicationActive;
        connect(app, &QGuiApplication::applicationStateChanged, this,
                &ScreenInhibitor::setApplicationState);
    }
}

ScreenInhibitor::~ScreenInhibitor()
{
    // Quitting lets the screen sleep again; the screen saver would also drop
    // the hold when our bus connection closes, but not every one does. Waited
    // for, so the call leaves before the process does.
    release(QDBus::Block);
}

void ScreenInhibitor::setKeepAwake(bool keepAwake)
{
    if (keepAwake == m_keepAwake)
        return;
    m_keepAwake = keepAwake;
    emit keepAwakeChanged();
    follow();
}

void ScreenInhibitor::setApplicationState(Qt::ApplicationState state)
{
    m_foreground = state == Qt::ApplicationActive;
    follow();
}

void ScreenInhibitor::follow()
{
    if (!wanted()) {
        release();
        return;
    }
    if (m_cookie == 0 && !m_asking)
        inhibit(0);
}

void ScreenInhibitor::inhibit(int pathIndex)
{
    if (!m_bus.isConnected())
        return;
    QDBusMessage call = screenSaverCall(pathIndex, QStringLiteral("Inhibit"));
    call << QStringLiteral("ZarvoReader") << QStringLiteral("Reading a book");
    m_asking = true;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    watcher->setProperty("path", pathIndex);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &ScreenInhibitor::onInhibitFinished);
}

void ScreenInhibitor::onInhibitFinished(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    m_asking = false;
    const int pathIndex = call->property("path").toInt();
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        if (pathIndex + 1 < PathCount)
            inhibit(pathIndex + 1);
        return;
    }
    m_cookie = reply.value();
    m_cookiePath = pathIndex;
    if (m_cookie != 0)
        emit inhibitedChanged();
    // The page may have been left while the screen saver was answering.
    follow();
}

void ScreenInhibitor::release(QDBus::CallMode mode)
{
    if (m_cookie == 0)
        return;
    QDBusMessage call = screenSaverCall(m_cookiePath, QStringLiteral("UnInhibit"));
    call << m_cookie;
    // Nothing is done on failure, so the answer is not waited for in use.
    m_bus.call(call, mode, ReleaseTimeoutMs);
    m_cookie = 0;
    emit inhibitedChanged();
}
