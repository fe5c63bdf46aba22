#ifndef DISPLAYSTATEWATCHER_H
#define DISPLAYSTATEWATCHER_H

#include <QDBusConnection>
#include <QObject>

// Display on/off notifications. The desktop's screen saver says when it
// blanks the display: its ActiveChanged(bool) signal on the session bus
// (active = display off). Without a session bus no event ever arrives.
class DisplayStateWatcher : public QObject
{
    Q_OBJECT
public:
    enum DisplayState
    {
        Off = -1,
        Dimmed = 0,
        On = 1
    };
    Q_ENUM(DisplayState)

    explicit DisplayStateWatcher(QObject *parent = nullptr);
    // Listens on the given bus instead of the session bus.
    DisplayStateWatcher(const QDBusConnection &bus, QObject *parent = nullptr);

    // Whether a bus was reached and the screen saver's signals are followed.
    bool isListening() const { return m_listening; }

signals:
    void displayStateChanged(DisplayStateWatcher::DisplayState state);

private slots:
    void onScreenSaverActiveChanged(bool active);

private:
    void listen(QDBusConnection bus);

    bool m_listening = false;
    // Some screen savers announce the change on two object paths; only a real
    // change is passed on. Unknown until the first announcement.
    int m_lastState = 2;
};

#endif // DISPLAYSTATEWATCHER_H
