#ifndef HTTPRESPONSE_H
#define HTTPRESPONSE_H

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <memory>

// One answer before it goes on the wire: a body in memory, or a slice of an
// open file sent straight from the page cache.
struct HttpResponse
{
    int status = 200;
    QByteArray contentType;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    std::unique_ptr<QFile> file;
    qint64 fileOffset = 0;
    qint64 fileLength = 0;

    void setHeader(const QByteArray &name, const QByteArray &value)
    {
        headers.append({name, value});
    }
    qint64 contentLength() const { return file ? fileLength : body.size(); }
};

#endif // HTTPRESPONSE_H
