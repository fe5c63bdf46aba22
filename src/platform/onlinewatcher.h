#ifndef ONLINEWATCHER_H
#define ONLINEWATCHER_H

#include <QObject>

// Tells whether the device is online and reports each change. Built on the
// system's network information back end; where none loads, the device
// counts as online, so nothing is ever withheld for lack of a back end.
class OnlineWatcher : public QObject
{
    Q_OBJECT
public:
    explicit OnlineWatcher(QObject *parent = nullptr);

    bool isOnline() const;

signals:
    void onlineStateChanged(bool isOnline);

private slots:
    void reachabilityChanged();

private:
    static bool currentlyOnline();

    bool m_online;
};

#endif // ONLINEWATCHER_H
