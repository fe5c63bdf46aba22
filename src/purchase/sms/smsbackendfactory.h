#ifndef SMSBACKENDFACTORY_H
#define SMSBACKENDFACTORY_H

#include <QString>
#include <QUrl>

class QDBusConnection;
class QObject;
class SmsBackend;

// Chooses the SMS back end once, at start-up: a ModemManager modem with
// messaging on the system bus when there is one, otherwise the HTTP gateway
// named by $ZARVOREADER_SMS_GATEWAY, otherwise the store server's own
// gateway at "/sms/send" of the store's host and port.
class SmsBackendFactory
{
public:
    static SmsBackend *create(QObject *parent);
    // The same, looking for ModemManager on bus instead of the system bus.
    static SmsBackend *create(const QDBusConnection &bus, QObject *parent);

    // The object path of the first ModemManager modem on bus that can send
    // messages; empty when there is none.
    static QString messagingModem(const QDBusConnection &bus);
    static QUrl gatewayUrl();
};

#endif // SMSBACKENDFACTORY_H
