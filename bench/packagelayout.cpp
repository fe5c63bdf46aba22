#include "packagelayout.h"

#include <QtEndian>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

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

QList<PackageLayout::Range> PackageLayout::bookOpenRanges(const QList<Range> &directory)
{
    QList<Range> ranges{{"header and directory", 0, HeaderSize + EntrySize * directory.size()}};
    for (const char *name : {"index.xml", "58_84.png"})
        if (const Range *r = find(directory, name))
            ranges.append(*r);
    return ranges;
}

QList<PackageLayout::Range> PackageLayout::chapterRanges(int fd, const Range &chapter)
{
    const QList<Range> nested = read(fd, chapter.offset);
    QList<Range> ranges{
        {"nested directory", chapter.offset, HeaderSize + EntrySize * nested.size()}};
    for (const char *name : {"chapter.xml", "content.txt"}) {
        const Range *r = find(nested, name);
        if (!r)
            return {};
        ranges.append(*r);
    }
    return ranges;
}

bool PackageLayout::readAll(const QByteArray &path, const QList<Range> &ranges)
{
    const int fd = open(path.constData(), O_RDONLY);
    if (fd < 0)
        return false;
    // One buffer kept across calls: a fresh large one per call is sometimes
    // mapped anew by malloc, and its page faults would swamp the reads.
    static std::vector<char> buffer;
    bool complete = true;
    for (const Range &range : ranges) {
        if (buffer.size() < size_t(range.length) + 1)
            buffer.resize(size_t(range.length) + 1);
        complete = pread(fd, buffer.data(), size_t(range.length), range.offset) == range.length &&
                   complete;
        benchmark::DoNotOptimize(buffer.data());
    }
    close(fd);
    return complete;
}

int64_t PackageLayout::totalBytes(const QList<Range> &ranges)
{
    int64_t bytes = 0;
    for (const Range &range : ranges)
        bytes += range.length;
    return bytes;
}
