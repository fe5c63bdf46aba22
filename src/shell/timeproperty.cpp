#include "timeproperty.h"

#include <QTime>
#include <QTimer>

Timeproperty::Timeproperty() : timer(new QTimer(this))
{
    timer->start(RefreshInterval);
    connect(timer, &QTimer::timeout, this, &Timeproperty::updateTime);
}

Timeproperty::~Timeproperty()
{
    timer->stop();
}

int Timeproperty::getHour() const
{
    return QTime::currentTime().hour();
}

int Timeproperty::getMinute() const
{
    return QTime::currentTime().minute();
}

void Timeproperty::setActiveFlag(bool flag)
{
    if (flag == activeFlag)
        return;
    activeFlag = flag;
    emit activeFlagChanged();
}

void Timeproperty::updateTime()
{
    emit hourChanged();
    emit minuteChanged();
}

void Timeproperty::activate()
{
    restartTimer();
    updateTime();
    setActiveFlag(true);
}

void Timeproperty::deactivate()
{
    if (timer)
        timer->stop();
    setActiveFlag(false);
}

void Timeproperty::sleep()
{
    if (timer)
        timer->stop();
}

void Timeproperty::wakeup()
{
    restartTimer();
    updateTime();
}

void Timeproperty::restartTimer()
{
    if (timer)
        timer->start(RefreshInterval);
}
