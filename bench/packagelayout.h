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
};

#endif // PACKAGELAYOUT_H
