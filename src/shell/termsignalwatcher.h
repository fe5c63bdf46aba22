#ifndef TERMSIGNALWATCHER_H
#define TERMSIGNALWATCHER_H

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT (session logout, Ctrl+C) into a Qt signal on the
// event loop, so the reader closes its window and shuts down in order instead
// of dying with the reading position unsaved.
class TermSignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit TermSignalWatcher(QObject *parent = nullptr);
    ~TermSignalWatcher() override;

    bool isWatching() const { return m_notifier != nullptr; }

signals:
    void terminationRequested(int signalNumber);

private slots:
    void readSignal();

private:
    QSocketNotifier *m_notifier = nullptr;
};

#endif // TERMSIGNALWATCHER_H
