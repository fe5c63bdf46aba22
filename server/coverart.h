#ifndef COVERART_H
#define COVERART_H

#include <QByteArray>
#include <QSize>
#include <QString>

class PackageDirectory;

// Makes the cover pictures the store serves: the package's own picture of
// the asked size when it holds a readable PNG, else another of its pictures
// scaled, else a plain placeholder, so "cover.action" always yields a PNG.
class CoverArt
{
public:
    static constexpr QSize LargeSize{82, 118};
    static constexpr QSize SmallSize{44, 63};

    static QByteArray cover(const PackageDirectory &package, QSize size, const QString &bookId);
    // "<book id>-<width>_<height>.png": where a cover is kept as a file.
    static QString fileName(const QString &bookId, QSize size);

private:
    static QByteArray recordName(QSize size);
    static QByteArray scaledFromPackage(const PackageDirectory &package, QSize size);
    static QByteArray placeholder(QSize size, const QString &bookId);
    static QByteArray toPng(const class QImage &image);
};

#endif // COVERART_H
