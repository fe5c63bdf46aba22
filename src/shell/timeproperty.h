#ifndef TIMEPROPERTY_H
#define TIMEPROPERTY_H

#include <QObject>
#include <QString>

class QTimer;

// The clock of the reading screen: the current hour and minute, re-read by the
// screens every 30 seconds while the application is in front and the display
// is on, and whether the application is active.
class Timeproperty : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int hour READ getHour NOTIFY hourChanged)
    Q_PROPERTY(int minute READ getMinute NOTIFY minuteChanged)
    Q_PROPERTY(bool activeFlag READ getActiveFlag WRITE setActiveFlag NOTIFY activeFlagChanged)
public:
    static constexpr int RefreshInterval = 30000;

    Timeproperty();
    ~Timeproperty() override;

    // Asked of the system clock on every read; never stored.
    int getHour() const;
    int getMinute() const;

    bool getActiveFlag() const { return activeFlag; }
    void setActiveFlag(bool flag);

signals:
    void hourChanged();
    void minuteChanged();
    void titleChanged();
    void activeFlagChanged();

public slots:
    void updateTime();
    void activate();
    void deactivate();
    void sleep();
    void wakeup();

private:
    void restartTimer();

    QTimer *timer = nullptr;
    QString iTitle;
    bool activeFlag = false;
};

#endif // TIMEPROPERTY_H
