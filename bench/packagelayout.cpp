#include "packagelayout.h"

#include <QtEndian>
#include <unistd.h>

namespace {

constexpr int HeaderSize = 92;
constexpr int EntrySize = 48;

} // namespace

QList<PackageLayout::Range> PackageLayout::read(int fd, int64_t base)
{
    char header[HeaderSize];
    if (pread(fd, header, HeaderSize, base) != HeaderSize)
        return {};
    const qint32 count = qFromLittleEndian<qint32>(header + 88);
    if (count < 1 || count > 1 << 20)
        return {};
    QByteArray directory(count * EntrySize, '\0');
    if (pread(fd, directory.data(), directory.size(), base + HeaderSize) != directory.size())
        return {};
    QList<Range> ranges;
    for (int i = 0; i < count; ++i) {
        const char *entry = directory.constData() + i * EntrySize;
        const QByteArray name(entry, int(qstrnlen(entry, 40)));
        const quint32 packed = qFromLittleEndian<quint32>(entry + 44);
        ranges.append({name, base + qFromLittleEndian<qint32>(entry + 40), packed >> 8});
    }
    return ranges;
}

const PackageLayout::Range *PackageLayout::find(const QList<Range> &ranges, const QByteArray &name)
{
    for (const Range &range : ranges)
        if (range.name == name)
            return &range;
    return nullptr;
}
