#ifndef MODEMMANAGERSMSBACKEND_H
#define MODEMMANAGERSMSBACKEND_H

#include "smsbackend.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QVariantMap>

class QDBusError;
class QDBusObjectPath;
class QDBusPendingCall;
class QDBusPendingCallWatcher;

// Sends through a ModemManager modem: Messaging.Create makes the message,
// Sms.Send sends it, and the message's "State" property tells how far it got.
// The message's object path is its id. "sending" puts it in the outbox;
// "sent" finishes the request and moves it to the sent folder. A failed
// Create or Send finishes the request with the error mapped by errorOf(); a
// message deleted while it is being sent cancels the request.
class ModemManagerSmsBackend : public SmsBackend, protected QDBusContext
{
    Q_OBJECT
public:
    static constexpr const char *Service = "org.freedesktop.ModemManager1";
    static constexpr const char *MessagingInterface =
        "org.freedesktop.ModemManager1.Modem.Messaging";

    // modemPath is a ModemManager modem object that has the messaging
    // interface.
    ModemManagerSmsBackend(const QDBusConnection &bus, const QString &modemPath,
                           QObject *parent = nullptr);
    ~ModemManagerSmsBackend() override;

    bool send(const QString &number, const QString &body) override;
    void abandon() override;

    // ModemManager's (and the bus's) errors as the codes of the sender:
    // bad arguments -> ConstraintFailure, another operation in progress ->
    // Busy, not supported -> NotYetImplemented, not authorised ->
    // ContentInaccessible, everything else (network, modem, bus) ->
    // FrameworkFault.
    static Error errorOf(const QDBusError &error);

private slots:
    void onPropertiesChanged(const QString &interface, const QVariantMap &changed,
                             const QStringList &invalidated);
    void onMessageDeleted(const QDBusObjectPath &path);

private:
    using Step = void (ModemManagerSmsBackend::*)(QDBusPendingCallWatcher &);

    void onCreated(QDBusPendingCallWatcher &call);
    void onSendAnswered(QDBusPendingCallWatcher &call);
    void onStateRead(QDBusPendingCallWatcher &call);

    // Runs step with the answer of call, unless the request it belongs to
    // has ended meanwhile.
    void whenAnswered(const QDBusPendingCall &call, Step step);
    void follow(uint smsState);
    void listen(bool on);
    void stopFollowing();
    void fail(const QDBusError &error);

    QDBusConnection m_bus;
    QString m_modemPath;
    // The message being sent; empty until Create has answered.
    QString m_smsPath;
    // Counts requests, so answers to an ended one are dropped.
    quint64 m_request = 0;
    bool m_outboxed = false;
};

#endif // MODEMMANAGERSMSBACKEND_H
