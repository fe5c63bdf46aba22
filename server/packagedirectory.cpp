#include "packagedirectory.h"

#include <QFile>
#include <QtEndian>

namespace {
constexpr qint64 HeaderSize = 92;
constexpr qint64 EntrySize = 48;
constexpr int NameSize = 40;
constexpr qint64 FileCountOffset = 88;

qint32 readInt32(const char *p)
{
    return qFromLittleEndian<qint32>(p);
}
} // namespace

bool PackageDirectory::open(const QString &path)
{
    m_path = path;
    m_records.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 fileSize = file.size();
    const QByteArray header = file.read(HeaderSize);
    if (header.size() != HeaderSize || !header.startsWith("VBP0"))
        return false;
    const qint64 count = readInt32(header.constData() + FileCountOffset);
    if (count < 1 || HeaderSize + count * EntrySize > fileSize)
        return false;
    const QByteArray directory = file.read(count * EntrySize);
    if (directory.size() != count * EntrySize)
        return false;
    for (qint64 i = 0; i < count; ++i) {
        const char *entry = directory.constData() + i * EntrySize;
        // A name of exactly 40 bytes has no terminator.
        const QByteArray name(entry, int(qstrnlen(entry, NameSize)));
        const qint64 offset = readInt32(entry + NameSize);
        const qint64 length = qFromLittleEndian<quint32>(entry + NameSize + 4) >> 8;
        if (name.isEmpty() || offset < 1 || length < 1 || offset + length > fileSize)
            continue;
        if (!m_records.contains(name))
            m_records.insert(name, Extent{offset, length});
    }
    return true;
}

QByteArray PackageDirectory::record(const QByteArray &name) const
{
    const auto it = m_records.constFind(name);
    if (it == m_records.constEnd())
        return {};
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(it->offset))
        return {};
    const QByteArray data = file.read(it->length);
    return data.size() == it->length ? data : QByteArray();
}
