#ifndef SCREENINHIBITOR_H
#define SCREENINHIBITOR_H

#include <QDBusConnection>
#include <QObject>

class QDBusPendingCallWatcher;

// Keeps the screen awake while a page that is being read is shown, through
// the desktop's screen saver (org.freedesktop.ScreenSaver Inhibit and
// UnInhibit on the session bus). The hold is let go when the page is left,
// when the program goes to the background and when it quits. Without a bus
// or a screen saver nothing is held and nothing fails.
class ScreenInhibitor : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool keepAwake READ keepAwake WRITE setKeepAwake NOTIFY keepAwakeChanged)
    Q_PROPERTY(bool inhibited READ inhibited NOTIFY inhibitedChanged)
public:
    explicit ScreenInhibitor(QObject *parent = nullptr);
    // Talks to the screen saver on the given bus instead of the session bus.
    ScreenInhibitor(const QDBusConnection &bus, QObject *parent = nullptr);
    ~ScreenInhibitor() override;

    bool keepAwake() const { return m_keepAwake; }
    void setKeepAwake(bool keepAwake);
    // Whether the screen saver has granted a hold that is not let go yet.
    bool inhibited() const { return m_cookie != 0; }

public slots:
    // Only a program in the foreground keeps the screen awake.
    void setApplicationState(Qt::ApplicationState state);

signals:
    void keepAwakeChanged();
    void inhibitedChanged();

private slots:
    void onInhibitFinished(QDBusPendingCallWatcher *call);

private:
    bool wanted() const { return m_keepAwake && m_foreground; }
    void follow();
    void inhibit(int pathIndex);
    void release(QDBus::CallMode mode = QDBus::NoBlock);

    QDBusConnection m_bus;
    bool m_keepAwake = false;
    bool m_foreground = true;
    // The hold granted (0: none) and whether an Inhibit call is under way.
    uint m_cookie = 0;
    int m_cookiePath = 0;
    bool m_asking = false;
};

#endif // SCREENINHIBITOR_H
