#ifndef SMSBACKENDFACTORY_H
#define SMSBACKENDFACTORY_H

#include <QString>
#include <QUrl>

class QDBusConnection;
class QObject;
class SmsBackend;

// Chooses the SMS back end: a ModemManager modem with messaging on the system
// bus when there is one, otherwise the HTTP gateway named by
// $ZARVOREADER_SMS_GATEWAY, otherwise the store server's own gateway at
// "/sms/send" of the store's host and port.
class SmsBackendFactory
{
public:
    // gateway is the HTTP gateway taken when there is no modem, as
    // gatewayUrl() gave it earlier (the program reads it at start-up and
    // chooses the back end when it first sends).
    static SmsBackend *create(const QUrl &gateway, QObject *parent);
    // Looking for ModemManager on bus instead of the system bus.
    static SmsBackend *create(const QDBusConnection &bus, QObject *parent);
    static SmsBackend *create(const QDBusConnection &bus, const QUrl &gateway, QObject *parent);

    // The object path of the first ModemManager modem on bus that can send
    // messages; empty when there is none.
    static QString messagingModem(const QDBusConnection &bus);
    static QUrl gatewayUrl();
};

#endif // SMSBACKENDFACTORY_H
