#ifndef PACKAGELAYOUT_H
#define PACKAGELAYOUT_H

#include <QByteArray>
#include <QList>
#include <cstdint>

// Where the records of a package lie, found with plain positioned reads so
// the benchmarks can read the same byte ranges as the reader without it.
class PackageLayout
{
public:
    struct Range
    {
        QByteArray name;
        int64_t offset = 0; // from the start of the file
        int64_t length = 0;
    };

    // The header and directory of the package starting at base; empty when
    // they cannot be read.
    static QList<Range> read(int fd, int64_t base);
    static const Range *find(const QList<Range> &ranges, const QByteArray &name);

    // What opening a book reads: its header and directory, its description
    // and its shelf cover (the other covers only have their extents checked).
    static QList<Range> bookOpenRanges(const QList<Range> &directory);
    // What loading one chapter reads: the header and directory of its nested
    // package, its description and its text; empty when they are not there.
    static QList<Range> chapterRanges(int fd, const Range &chapter);
    // Opens path, reads every range into a fresh buffer as the reader does
    // and closes it again; false on a short read.
    static bool readAll(const QByteArray &path, const QList<Range> &ranges);
    static int64_t totalBytes(const QList<Range> &ranges);
};

#endif // PACKAGELAYOUT_H
