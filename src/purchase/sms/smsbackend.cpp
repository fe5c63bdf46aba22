#include "smsbackend.h"

SmsBackend::SmsBackend(QObject *parent) : QObject(parent) {}

void SmsBackend::abandon()
{
    m_state = InactiveState;
}

bool SmsBackend::begin(const QString &number)
{
    if (m_state == ActiveState) {
        m_error = Busy;
        return false;
    }
    if (number.trimmed().isEmpty()) {
        m_error = ConstraintFailure;
        return false;
    }
    m_error = NoError;
    announce(ActiveState);
    return true;
}

void SmsBackend::finish(Error error)
{
    m_error = error;
    announce(FinishedState);
}

void SmsBackend::cancel()
{
    m_error = NoError;
    announce(CanceledState);
}

void SmsBackend::announce(State state)
{
    m_state = state;
    emit stateChanged(state);
}
