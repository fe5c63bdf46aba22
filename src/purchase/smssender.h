#ifndef SMSSENDER_H
#define SMSSENDER_H

#include "smsbackend.h"

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

// Sends one SMS and waits in a nested event loop, so other events keep being
// delivered, until the message has reached the chosen stage, or sending
// failed or ran out of time. One back end plays both the messaging service
// and the message store.
class SMSSender : public QObject
{
    Q_OBJECT
public:
    enum SendingState
    {
        Timeout = -2,
        Terminated = -1,
        NoSending = 0,
        Inited = 1,
        Outboxed = 2,
        Sent = 3,
        Delivered = 4
    };
    Q_ENUM(SendingState)

    // The time limit taken for a timeout of 0: the wait always ends, even
    // when the back end never answers.
    static constexpr unsigned int DefaultTimeout = 60000;

    // lastState is the stage at which sending counts as complete; timeout is
    // in milliseconds, 0 for DefaultTimeout. service is not owned and may be
    // null (send then answers InvalidId).
    SMSSender(SmsBackend *service, SendingState lastState, unsigned int timeout,
              QObject *parent = nullptr);

    // Sends and waits. NoError once the chosen stage was reached; Busy while
    // the back end (or this sender) is sending; FrameworkFault when the time
    // ran out; the back end's error when it failed, and RequestIncomplete
    // when it refused or withdrew the message without naming an error.
    SmsBackend::Error send(const QString &number, const QString &body);

signals:
    // Declared for the screens' sake; nothing emits them.
    void onMessageSendingTimeout();
    void onMessageDelivered();
    void onMessageSent();
    void onMessageSendingTerminated();
    void onMessageSendingCompleted();

protected slots:
    void onStateChanged(SmsBackend::State newState);
    void onMessageAdded(const QString &id, SmsBackend::Folder folder);
    void onMessageUpdated(const QString &id, SmsBackend::Folder folder);
    void onTimeout();

private:
    void completeSending();
    void terminateSMSSending();
    // Moves to stage and completes the sending once the chosen stage, or a
    // later one, is reached.
    void reach(SendingState stage);
    void waitForSending();
    SmsBackend::Error result() const;

    QPointer<SmsBackend> m_pService;
    QPointer<SmsBackend> m_pManager;
    QEventLoop m_loop;
    // The time limit of the wait under way; stopped when the wait ends, so it
    // never cuts a later sending short.
    QTimer m_timer;
    SendingState m_lastState;
    unsigned int m_timeout;
    QString m_sendingId;
    SendingState m_sendingState = NoSending;
};

#endif // SMSSENDER_H
