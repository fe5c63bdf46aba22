#include "onlinewatcher.h"

#include <QNetworkInformation>

OnlineWatcher::OnlineWatcher(QObject *parent) : QObject(parent)
{
    // Loading is process-wide and idempotent; every watcher shares the back end.
    if (!QNetworkInformation::instance())
        QNetworkInformation::loadDefaultBackend();
    m_online = currentlyOnline();
    if (QNetworkInformation *info = QNetworkInformation::instance())
        connect(info, &QNetworkInformation::reachabilityChanged, this,
                &OnlineWatcher::reachabilityChanged);
}

bool OnlineWatcher::isOnline() const
{
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
