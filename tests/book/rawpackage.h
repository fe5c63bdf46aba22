#ifndef RAWPACKAGE_H
#define RAWPACKAGE_H

// Builds package bytes field by field, with knobs to corrupt any of them, so
// the reader can be fed packages no well-behaved writer would produce.

#include <QByteArray>
#include <QList>
#include <QtEndian>
#include <optional>

struct RawRecord
{
    QByteArray name; // cut or padded to 40 bytes
    QByteArray data;
    quint8 flags = 0;
    std::optional<qint32> offset;  // instead of where the data lands
    std::optional<quint32> length; // instead of the data's size (24 bits)
};

struct RawPackage
{
    RawPackage &add(const QByteArray &name, const QByteArray &data)
    {
        records.append({name, data, 0, {}, {}});
        return *this;
    }

    QByteArray toBytes() const
    {
        QByteArray out = tag.left(4).leftJustified(4, '\0');
        const auto appendInt = [&out](qint32 value) {
            char bytes[4];
            qToLittleEndian(value, bytes);
            out.append(bytes, 4);
        };
        appendInt(0x1234); // key
        out.append(QByteArray("content-id").leftJustified(16, '\0'));
        out.append(QByteArray(64, char(0x5A))); // sec0, sec1
        appendInt(fileCount.value_or(qint32(records.size())));
        qint64 dataAt = out.size() + 48 * records.size();
        for (const RawRecord &r : records) {
            out.append(r.name.left(40).leftJustified(40, '\0'));
            appendInt(r.offset.value_or(qint32(dataAt)));
            appendInt(qint32((r.length.value_or(quint32(r.data.size())) << 8) | r.flags));
            dataAt += r.data.size();
        }
        for (const RawRecord &r : records)
            out.append(r.data);
        return out;
    }

    QByteArray tag = "VBP0";
    std::optional<qint32> fileCount;
    QList<RawRecord> records;
};

#endif // RAWPACKAGE_H
