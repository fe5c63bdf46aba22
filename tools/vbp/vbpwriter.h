#ifndef VBPWRITER_H
#define VBPWRITER_H

#include <QByteArray>
#include <QList>
#include <QString>

// Writes one ".vbp" container: a 92-byte header, a directory of 48-byte
// entries and the record data, in the order the records were added.
class VbpWriter
{
public:
    // Longest record name a directory entry can hold (no terminator then).
    static constexpr int MaxNameLength = 40;
    // The packed word keeps the length in 24 bits.
    static constexpr qint64 MaxRecordLength = (qint64(1) << 24) - 1;
    static constexpr int HeaderSize = 92;
    static constexpr int EntrySize = 48;

    void setKey(qint32 key) { m_key = key; }
    // At most 16 bytes are stored; the rest of the field is NUL.
    void setContentId(const QByteArray &contentId) { m_contentId = contentId.left(16); }

    void addRecord(const QByteArray &name, const QByteArray &data, quint8 flags = 0);
    int recordCount() const { return int(m_records.size()); }

    // An empty array when a record cannot be stored: an empty or too long
    // name, data longer than the packed length allows, or a package beyond
    // the signed 32-bit offsets.
    QByteArray toBytes() const;
    // Writes atomically; false when the bytes cannot be built or written.
    bool writeTo(const QString &path) const;

private:
    struct Record
    {
        QByteArray name;
        QByteArray data;
        quint8 flags = 0;
    };

    bool recordsFit() const;

    qint32 m_key = 0;
    QByteArray m_contentId;
    QList<Record> m_records;
};

#endif // VBPWRITER_H
