#ifndef STORECLIENT_H
#define STORECLIENT_H

// Plain HTTP to the store server under test: targets go out exactly as
// written, answers come back whole with their headers.

#include "xmltree.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPair>
#include <QSignalSpy>
#include <QString>
#include <QUrl>
#include <memory>

struct HttpResult
{
    int status = 0;
    QByteArray body;
    QHash<QByteArray, QByteArray> headers; // names in lower case

    QByteArray header(const QByteArray &name) const { return headers.value(name.toLower()); }
};

using HttpHeaders = QList<QPair<QByteArray, QByteArray>>;

class StoreClient
{
public:
    void setPort(int port) { m_port = port; }

    QString url(const QString &target) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(target);
    }

    // Waits for the reply and takes it apart; the reply is deleted later.
    static HttpResult finish(QNetworkReply *reply)
    {
        QSignalSpy done(reply, &QNetworkReply::finished);
        if (!reply->isFinished())
            done.wait(30000);
        HttpResult result;
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.body = reply->readAll();
        for (const auto &pair : reply->rawHeaderPairs())
            result.headers.insert(pair.first.toLower(), pair.second);
        reply->deleteLater();
        return result;
    }

    HttpResult get(const QString &target, const HttpHeaders &headers = {})
    {
        QNetworkRequest request{QUrl(url(target))};
        for (const auto &header : headers)
            request.setRawHeader(header.first, header.second);
        return finish(m_net.get(request));
    }

    // Hands a message to the store's SMS gateway; returns what it says of the
    // payment, or "failed".
    QString sms(const QByteArray &form,
                const QByteArray &type = "application/x-www-form-urlencoded")
    {
        QNetworkRequest request{QUrl(url(QStringLiteral("/sms/send")))};
        request.setHeader(QNetworkRequest::ContentTypeHeader, type);
        const HttpResult result = finish(m_net.post(request, form));
        const auto receipt = XmlNode::parse(result.body);
        if (result.status != 200 || !receipt || receipt->attr(QStringLiteral("ret")) != "sent")
            return QStringLiteral("failed");
        return receipt->childText(QStringLiteral("payment"));
    }

    // The answer as an XML tree; an empty one when it is not an XML document.
    std::shared_ptr<XmlNode> document(const QString &target)
    {
        const HttpResult result = get(target);
        std::shared_ptr<XmlNode> doc;
        if (result.header("Content-Type").startsWith("text/xml"))
            doc = XmlNode::parse(result.body);
        return doc ? doc : std::make_shared<XmlNode>();
    }

    // A new user id, as the store hands one out.
    QString newUser()
    {
        return document(QStringLiteral("/vorelreader/userlogin.action?imei=1"))
            ->childText(QStringLiteral("uid"));
    }

    // Orders a book; `more` adds query items (a continuation's sid, pid...).
    std::shared_ptr<XmlNode> order(const QString &uid, const QString &id, const QString &more = {})
    {
        return document("/vorelreader/download.action?imei=1&uid=" + uid +
                        "&cid=" + QUrl::toPercentEncoding(id) + more);
    }

    // A user's balance and count of bought books, as "<balance> / <count>".
    QString account(const QString &uid)
    {
        const auto doc = document("/vorelreader/myaccountinfo.action?uid=" + uid);
        QHash<QString, QString> lines;
        for (const XmlNode *line : doc->all(QStringLiteral("line")))
            lines.insert(line->attr(QStringLiteral("name")), line->attr(QStringLiteral("value")));
        return lines.value(QStringLiteral("账户余额")) + " / " +
               lines.value(QStringLiteral("已购图书"));
    }

private:
    QNetworkAccessManager m_net;
    int m_port = 0;
};

#endif // STORECLIENT_H
