#include "smssender.h"

#include <climits>

SMSSender::SMSSender(SmsBackend *service, SendingState lastState, unsigned int timeout,
                     QObject *parent)
    : QObject(parent), m_pService(service), m_pManager(service), m_lastState(lastState),
      m_timeout(timeout)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SMSSender::onTimeout);
    if (!service)
        return;
    connect(service, &SmsBackend::stateChanged, this, &SMSSender::onStateChanged);
    connect(service, &SmsBackend::messageAdded, this, &SMSSender::onMessageAdded);
    connect(service, &SmsBackend::messageUpdated, this, &SMSSender::onMessageUpdated);
}

SmsBackend::Error SMSSender::send(const QString &number, const QString &body)
{
    if (!m_pService || !m_pManager)
        return SmsBackend::InvalidId;
    // A sending waits in the nested loop; a second one from inside it would
    // have to share that loop.
    if (m_pService->state() == SmsBackend::ActiveState || m_loop.isRunning())
        return SmsBackend::Busy;
    m_sendingState = NoSending;
    m_sendingId.clear();
    if (m_pService->send(number, body))
        m_sendingState = Inited;
    else
        terminateSMSSending();
    if (m_pService->error() != SmsBackend::NoError)
        terminateSMSSending();
    if (m_sendingState > NoSending)
        waitForSending();
    return result();
}

void SMSSender::onStateChanged(SmsBackend::State newState)
{
    if (!m_pService)
        return;
    // A withdrawn request will not move on: without an error of its own it
    // still ends the wait as a failure.
    if (m_pService->error() != SmsBackend::NoError || newState == SmsBackend::CanceledState) {
        terminateSMSSending();
        return;
    }
    if (newState == SmsBackend::FinishedState &&
        (m_sendingState == Inited || m_sendingState == Outboxed))
        reach(Sent);
}

void SMSSender::onMessageAdded(const QString &id, SmsBackend::Folder folder)
{
    if (m_sendingState != Inited && m_sendingState != Sent)
        return;
    if (folder != SmsBackend::OutboxFolder)
        return;
    m_sendingId = id;
    reach(Outboxed);
}

void SMSSender::onMessageUpdated(const QString &id, SmsBackend::Folder folder)
{
    if (m_sendingState != Outboxed && m_sendingState != Sent)
        return;
    if (m_sendingId.isEmpty() || id != m_sendingId || folder != SmsBackend::SentFolder)
        return;
    reach(Delivered);
}

void SMSSender::onTimeout()
{
    m_sendingState = Timeout;
    m_sendingId.clear();
    // The back end would otherwise stay busy with a message nobody waits for.
    if (m_pService)
        m_pService->abandon();
    m_loop.quit();
}

void SMSSender::completeSending()
{
    m_sendingState = NoSending;
    m_sendingId.clear();
    m_loop.quit();
}

void SMSSender::terminateSMSSending()
{
    m_sendingState = Terminated;
    m_sendingId.clear();
    m_loop.quit();
}

void SMSSender::reach(SendingState stage)
{
    m_sendingState = stage;
    // A message that is already sent has passed the outbox; one in the sent
    // folder has been sent. Waiting for a notice that may never come would
    // report a sent message as failed.
    if (stage >= m_lastState)
        completeSending();
}

void SMSSender::waitForSending()
{
    const unsigned int limit = m_timeout ? m_timeout : DefaultTimeout;
    m_timer.start(int(qMin<unsigned int>(limit, INT_MAX)));
    m_loop.exec();
    m_timer.stop();
}

SmsBackend::Error SMSSender::result() const
{
    if (m_sendingState == Timeout)
        return SmsBackend::FrameworkFault;
    if (!m_pService)
        return SmsBackend::InvalidId;
    const SmsBackend::Error error = m_pService->error();
    if (m_sendingState == Terminated && error == SmsBackend::NoError)
        return SmsBackend::RequestIncomplete;
    return error;
}
