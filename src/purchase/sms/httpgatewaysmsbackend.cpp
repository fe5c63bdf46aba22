#include "httpgatewaysmsbackend.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QXmlStreamReader>

namespace {

SmsBackend::Error errorOf(const QNetworkReply &reply)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400 && status < 500)
        return SmsBackend::ConstraintFailure;
    if (reply.error() != QNetworkReply::NoError || status < 200 || status >= 300)
        return SmsBackend::FrameworkFault;
    return SmsBackend::NoError;
}

// The id in a gateway's <vr ret="sent"><id>...</id></vr>; empty for any other answer.
QString sentMessageId(const QByteArray &answer)
{
    QXmlStreamReader xml(answer);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("vr") ||
        xml.attributes().value(QLatin1String("ret")) != QLatin1String("sent"))
        return QString();
    QString id;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("id"))
            id = xml.readElementText().trimmed();
        else
            xml.skipCurrentElement();
    }
    return xml.hasError() ? QString() : id;
}

} // namespace

HttpGatewaySmsBackend::HttpGatewaySmsBackend(const QUrl &gateway, QObject *parent)
    : SmsBackend(parent), m_gateway(gateway)
{}

HttpGatewaySmsBackend::~HttpGatewaySmsBackend()
{
    dropReply();
}

bool HttpGatewaySmsBackend::send(const QString &number, const QString &body)
{
    if (!begin(number))
        return false;
    QNetworkRequest request(m_gateway);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(TransferTimeoutMs);
    // Every reserved character encoded, "+" and "&" in a body included.
    const QByteArray form =
        "number=" + QUrl::toPercentEncoding(number) + "&body=" + QUrl::toPercentEncoding(body);
    m_reply = m_network.post(request, form);
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpGatewaySmsBackend::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &HttpGatewaySmsBackend::onFinished);
    return true;
}

void HttpGatewaySmsBackend::abandon()
{
    dropReply();
    SmsBackend::abandon();
}

void HttpGatewaySmsBackend::onReadyRead()
{
    if (!m_reply || m_reply->bytesAvailable() <= MaxAnswerBytes)
        return;
    dropReply();
    finish(FrameworkFault);
}

void HttpGatewaySmsBackend::onFinished()
{
    if (!m_reply)
        return;
    const Error error = errorOf(*m_reply);
    const QString id = error == NoError ? sentMessageId(m_reply->read(MaxAnswerBytes)) : QString();
    dropReply();
    if (error != NoError || id.isEmpty())
        return finish(error != NoError ? error : FrameworkFault);
    emit messageAdded(id, OutboxFolder);
    finish(NoError);
    emit messageUpdated(id, SentFolder);
}

void HttpGatewaySmsBackend::dropReply()
{
    if (!m_reply)
        return;
    // Nothing of a dropped transfer reaches this back end any more.
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
}
