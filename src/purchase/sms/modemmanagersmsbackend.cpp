#include "modemmanagersmsbackend.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QHash>

namespace {

const char *const SmsInterface = "org.freedesktop.ModemManager1.Sms";
const char *const PropertiesInterface = "org.freedesktop.DBus.Properties";
const char *const StateProperty = "State";

// MMSmsState values that move a message along.
const uint SmsSending = 4;
const uint SmsSent = 5;

// Creating a message is quick; sending waits for the network, which a modem
// may retry for a while.
const int CreateTimeoutMs = 25000;
const int SendTimeoutMs = 120000;

} // namespace

ModemManagerSmsBackend::ModemManagerSmsBackend(const QDBusConnection &bus, const QString &modemPath,
                                               QObject *parent)
    : SmsBackend(parent), m_bus(bus), m_modemPath(modemPath)
{}

ModemManagerSmsBackend::~ModemManagerSmsBackend()
{
    stopFollowing();
}

bool ModemManagerSmsBackend::send(const QString &number, const QString &body)
{
    if (!begin(number))
        return false;
    stopFollowing();
    QDBusMessage create =
        QDBusMessage::createMethodCall(QLatin1String(Service), m_modemPath,
                                       QLatin1String(MessagingInterface), QStringLiteral("Create"));
    create << QVariantMap{{QStringLiteral("number"), number}, {QStringLiteral("text"), body}};
    whenAnswered(m_bus.asyncCall(create, CreateTimeoutMs), &ModemManagerSmsBackend::onCreated);
    return true;
}

void ModemManagerSmsBackend::abandon()
{
    stopFollowing();
    SmsBackend::abandon();
}

SmsBackend::Error ModemManagerSmsBackend::errorOf(const QDBusError &error)
{
    static const QHash<QString, Error> known = {
        {QStringLiteral("org.freedesktop.ModemManager1.Error.Core.InvalidArgs"), ConstraintFailure},
        {QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"), ConstraintFailure},
        {QStringLiteral("org.freedesktop.ModemManager1.Error.Core.InProgress"), Busy},
        {QStringLiteral("org.freedesktop.ModemManager1.Error.Core.Unsupported"), NotYetImplemented},
        {QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), NotYetImplemented},
        {QStringLiteral("org.freedesktop.ModemManager1.Error.Core.Unauthorized"),
         ContentInaccessible},
        {QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"), ContentInaccessible},
    };
    return known.value(error.name(), FrameworkFault);
}

void ModemManagerSmsBackend::whenAnswered(const QDBusPendingCall &call, Step step)
{
    auto *watcher = new QDBusPendingCallWatcher(call, this);
    const quint64 request = m_request;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, request, step](QDBusPendingCallWatcher *answered) {
                answered->deleteLater();
                if (request == m_request)
                    (this->*step)(*answered);
            });
}

void ModemManagerSmsBackend::onCreated(QDBusPendingCallWatcher &call)
{
    const QDBusPendingReply<QDBusObjectPath> reply = call;
    if (reply.isError())
        return fail(reply.error());
    m_smsPath = reply.value().path();
    // Listening starts before Send, so no state change of the message is missed.
    listen(true);
    const QDBusMessage sendCall = QDBusMessage::createMethodCall(
        QLatin1String(Service), m_smsPath, QLatin1String(SmsInterface), QStringLiteral("Send"));
    whenAnswered(m_bus.asyncCall(sendCall, SendTimeoutMs), &ModemManagerSmsBackend::onSendAnswered);
}

void ModemManagerSmsBackend::onSendAnswered(QDBusPendingCallWatcher &call)
{
    if (call.isError())
        return fail(call.error());
    // ModemManager answers once the message is out, but a modem may answer
    // on queueing it: the message's own state decides.
    QDBusMessage get =
        QDBusMessage::createMethodCall(QLatin1String(Service), m_smsPath,
                                       QLatin1String(PropertiesInterface), QStringLiteral("Get"));
    get << QLatin1String(SmsInterface) << QLatin1String(StateProperty);
    whenAnswered(m_bus.asyncCall(get, CreateTimeoutMs), &ModemManagerSmsBackend::onStateRead);
}

void ModemManagerSmsBackend::onStateRead(QDBusPendingCallWatcher &call)
{
    const QDBusPendingReply<QDBusVariant> reply = call;
    // Send succeeded: without a readable state that is as good as sent.
    follow(reply.isError() ? SmsSent : reply.value().variant().toUInt());
}

void ModemManagerSmsBackend::onPropertiesChanged(const QString &interface,
                                                 const QVariantMap &changed,
                                                 const QStringList &invalidated)
{
    Q_UNUSED(invalidated);
    // A change of an earlier message may still be on its way.
    if (m_smsPath.isEmpty() || message().path() != m_smsPath)
        return;
    if (interface != QLatin1String(SmsInterface) || !changed.contains(StateProperty))
        return;
    follow(changed.value(StateProperty).toUInt());
}

void ModemManagerSmsBackend::onMessageDeleted(const QDBusObjectPath &path)
{
    if (m_smsPath.isEmpty() || path.path() != m_smsPath)
        return;
    stopFollowing();
    cancel();
}

void ModemManagerSmsBackend::follow(uint smsState)
{
    if (smsState == SmsSending && !m_outboxed) {
        m_outboxed = true;
        emit messageAdded(m_smsPath, OutboxFolder);
        return;
    }
    if (smsState != SmsSent)
        return;
    const QString id = m_smsPath;
    stopFollowing();
    // The service reports its request finished before the store moves the
    // message, as the sender expects.
    finish(NoError);
    emit messageUpdated(id, SentFolder);
}

void ModemManagerSmsBackend::listen(bool on)
{
    using Connect = bool (QDBusConnection::*)(const QString &, const QString &, const QString &,
                                              const QString &, QObject *, const char *);
    const Connect change =
        on ? Connect(&QDBusConnection::connect) : Connect(&QDBusConnection::disconnect);
    (m_bus.*change)(QLatin1String(Service), m_smsPath, QLatin1String(PropertiesInterface),
                    QStringLiteral("PropertiesChanged"), this,
                    SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    (m_bus.*change)(QLatin1String(Service), m_modemPath, QLatin1String(MessagingInterface),
                    QStringLiteral("Deleted"), this, SLOT(onMessageDeleted(QDBusObjectPath)));
}

void ModemManagerSmsBackend::stopFollowing()
{
    ++m_request;
    if (!m_smsPath.isEmpty())
        listen(false);
    m_smsPath.clear();
    m_outboxed = false;
}

void ModemManagerSmsBackend::fail(const QDBusError &error)
{
    stopFollowing();
    finish(errorOf(error));
}
