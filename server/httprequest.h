#ifndef HTTPREQUEST_H
#define HTTPREQUEST_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// One request as read off a connection: the request line split up, the
// header fields in their order, the body, and whether the client wants the
// connection kept open afterwards.
struct HttpRequest
{
    QByteArray method;
    // As sent, for the log.
    QByteArray target;
    // Percent-decoded.
    QString path;
    // Names and values percent-decoded, "+" read as a space, in their order.
    QList<QPair<QString, QString>> query;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    int minorVersion = 1;
    bool keepAlive = true;

    // The first field of that name (compared ignoring case), or empty.
    QByteArray header(const QByteArray &name) const
    {
        for (const auto &field : headers) {
            if (field.first.compare(name, Qt::CaseInsensitive) == 0)
                return field.second;
        }
        return {};
    }
    bool hasHeader(const QByteArray &name) const { return headerCount(name) > 0; }
    int headerCount(const QByteArray &name) const
    {
        int count = 0;
        for (const auto &field : headers)
            count += field.first.compare(name, Qt::CaseInsensitive) == 0 ? 1 : 0;
        return count;
    }
};

#endif // HTTPREQUEST_H
