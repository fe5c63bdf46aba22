#ifndef HTTPGATEWAYSMSBACKEND_H
#define HTTPGATEWAYSMSBACKEND_H

#include "smsbackend.h"

#include <QNetworkAccessManager>
#include <QPointer>
#include <QUrl>

class QNetworkReply;

// Sends through an SMS gateway on HTTP: the number and the body are POSTed as
// a form, and the gateway answers <vr ret="sent"><id>...</id></vr> once the
// carrier has taken the message. Such an answer puts the message in the
// outbox, finishes the request and moves the message to the sent folder, in
// that order. A 4xx answer (the gateway refused the message) finishes the
// request with ConstraintFailure; no answer, any other HTTP error or an
// answer that is not the one above, with FrameworkFault.
class HttpGatewaySmsBackend : public SmsBackend
{
    Q_OBJECT
public:
    // Larger answers are not the gateway's: the transfer stops there.
    static constexpr qint64 MaxAnswerBytes = 64 * 1024;
    static constexpr int TransferTimeoutMs = 30000;

    explicit HttpGatewaySmsBackend(const QUrl &gateway, QObject *parent = nullptr);
    ~HttpGatewaySmsBackend() override;

    bool send(const QString &number, const QString &body) override;
    void abandon() override;

private slots:
    void onReadyRead();
    void onFinished();

private:
    void dropReply();

    QNetworkAccessManager m_network;
    QUrl m_gateway;
    QPointer<QNetworkReply> m_reply;
};

#endif // HTTPGATEWAYSMSBACKEND_H
