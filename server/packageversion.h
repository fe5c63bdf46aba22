#ifndef PACKAGEVERSION_H
#define PACKAGEVERSION_H

#include <QByteArray>
#include <QDateTime>

class QFileInfo;

// The validators of a package as it lies on disk now: a strong entity tag
// made of its size and modification time, and its modification date. A
// client resuming a download names one of them in "If-Range"; when the
// package changed since, the range is ignored and the whole package sent.
class PackageVersion
{
public:
    explicit PackageVersion(const QFileInfo &file);

    QByteArray etag() const { return m_etag; }
    // The modification date in the form HTTP uses.
    QByteArray lastModified() const { return httpDate(m_modified); }
    // True when a range may be sent: no If-Range at all, the same strong
    // tag, or a date not older than the package.
    bool rangeAllowed(const QByteArray &ifRange) const;

    static QByteArray httpDate(const QDateTime &time);
    // Reads the preferred HTTP date form ("Sun, 06 Nov 1994 08:49:37 GMT");
    // invalid for anything else.
    static QDateTime readHttpDate(const QByteArray &text);

private:
    QByteArray m_etag;
    QDateTime m_modified; // UTC, whole seconds
};

#endif // PACKAGEVERSION_H
