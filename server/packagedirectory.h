#ifndef PACKAGEDIRECTORY_H
#define PACKAGEDIRECTORY_H

#include <QByteArray>
#include <QHash>
#include <QString>

// The record directory of a top-level ".vbp" package, enough to fetch the
// cover pictures the store hands out. Every extent is checked against the
// file size in 64-bit arithmetic before anything is read.
class PackageDirectory
{
public:
    bool open(const QString &path);
    bool hasRecord(const QByteArray &name) const { return m_records.contains(name); }
    // The record's bytes; empty when it is missing or cannot be read.
    QByteArray record(const QByteArray &name) const;

private:
    struct Extent
    {
        qint64 offset = 0;
        qint64 length = 0;
    };

    QString m_path;
    QHash<QByteArray, Extent> m_records;
};

#endif // PACKAGEDIRECTORY_H
