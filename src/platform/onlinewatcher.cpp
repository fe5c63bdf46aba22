#include "onlinewatcher.h"

#include <QList>
#include <QNetworkInformation>
#include <QPointer>
#include <utility>

namespace {
bool deferring = false;
// Watchers made while deferring; all on the thread of the application.
QList<QPointer<OnlineWatcher>> &waiting()
{
    static QList<QPointer<OnlineWatcher>> watchers;
    return watchers;
}
} // namespace

OnlineWatcher::OnlineWatcher(QObject *parent) : QObject(parent)
{
    // Once loaded, the back end costs nothing more: no reason to wait then.
    if (deferring && !QNetworkInformation::instance()) {
        waiting().append(this);
        return;
    }
    attach();
}

void OnlineWatcher::deferBackend()
{
    deferring = true;
}

void OnlineWatcher::loadBackend()
{
    deferring = false;
    const QList<QPointer<OnlineWatcher>> watchers = std::exchange(waiting(), {});
    for (OnlineWatcher *watcher : watchers) {
        if (watcher && !watcher->m_attached)
            watcher->attach();
    }
}

void OnlineWatcher::attach()
{
    m_attached = true;
    // Loading is process-wide and idempotent; every watcher shares the back end.
    if (!QNetworkInformation::instance())
        QNetworkInformation::loadDefaultBackend();
    // The state found now is where the watcher starts, as if it had been made
    // now: only later changes are reported.
    m_online = currentlyOnline();
    if (QNetworkInformation *info = QNetworkInformation::instance())
        connect(info, &QNetworkInformation::reachabilityChanged, this,
                &OnlineWatcher::reachabilityChanged);
}

bool OnlineWatcher::isOnline()
{
    // The first question of any watcher loads the back end for all.
    if (!m_attached)
        loadBackend();
    return m_online;
}

void OnlineWatcher::reachabilityChanged()
{
    const bool online = currentlyOnline();
    if (online == m_online)
        return;
    m_online = online;
    emit onlineStateChanged(m_online);
}

bool OnlineWatcher::currentlyOnline()
{
    const QNetworkInformation *info = QNetworkInformation::instance();
    if (!info)
        return true;
    // Only "disconnected" means offline: a store on the local network or on
    // this machine is still reachable with local or site reachability, and an
    // unknown state must not hide anything.
    return info->reachability() != QNetworkInformation::Reachability::Disconnected;
}
