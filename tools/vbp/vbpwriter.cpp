#include "vbpwriter.h"

#include <QSaveFile>
#include <QtEndian>
#include <limits>

namespace {

void appendLE32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// Fixed-width field, NUL-padded; the caller guarantees the value fits.
void appendPadded(QByteArray &out, const QByteArray &value, int width)
{
    out.append(value);
    out.append(width - value.size(), '\0');
}

} // namespace

void VbpWriter::addRecord(const QByteArray &name, const QByteArray &data, quint8 flags)
{
    m_records.append(Record{name, data, flags});
}

bool VbpWriter::recordsFit() const
{
    qint64 total = HeaderSize + qint64(EntrySize) * m_records.size();
    for (const Record &record : m_records) {
        if (record.name.isEmpty() || record.name.size() > MaxNameLength)
            return false;
        if (record.data.size() > MaxRecordLength)
            return false;
        total += record.data.size();
    }
    return total <= std::numeric_limits<qint32>::max();
}

QByteArray VbpWriter::toBytes() const
{
    if (!recordsFit())
        return {};

    QByteArray out;
    out.reserve(HeaderSize + EntrySize * m_records.size());
    out.append("VBP0", 4);
    appendLE32(out, quint32(m_key));
    appendPadded(out, m_contentId, 16);
    out.append(32, '\0'); // sec0
    out.append(32, '\0'); // sec1
    appendLE32(out, quint32(m_records.size()));

    quint32 offset = HeaderSize + EntrySize * quint32(m_records.size());
    for (const Record &record : m_records) {
        appendPadded(out, record.name, MaxNameLength);
        appendLE32(out, offset);
        appendLE32(out, (quint32(record.data.size()) << 8) | record.flags);
        offset += quint32(record.data.size());
    }
    for (const Record &record : m_records)
        out.append(record.data);
    return out;
}

bool VbpWriter::writeTo(const QString &path) const
{
    const QByteArray bytes = toBytes();
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
