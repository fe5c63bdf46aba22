#ifndef ONLINEWATCHER_H
#define ONLINEWATCHER_H

#include <QObject>

// Tells whether the device is online and reports each change. Built on the
// system's network information back end; where none loads, the device
// counts as online, so nothing is ever withheld for lack of a back end.
//
// Loading the back end (a plugin that asks the system bus) is kept off the
// start-up path when the program asks: watchers made after deferBackend()
// wait for loadBackend() or for the first isOnline() of any of them,
// whichever comes first. Until then they count as online and report no
// change.
class OnlineWatcher : public QObject
{
    Q_OBJECT
public:
    explicit OnlineWatcher(QObject *parent = nullptr);

    bool isOnline();

    // Watchers made from now on wait for loadBackend() (or for the first
    // isOnline() of any of them).
    static void deferBackend();
    // Loads the back end for every waiting watcher and stops deferring.
    static void loadBackend();

signals:
    void onlineStateChanged(bool isOnline);

private slots:
    void reachabilityChanged();

private:
    void attach();
    static bool currentlyOnline();

    bool m_online = true;
    bool m_attached = false;
};

#endif // ONLINEWATCHER_H
