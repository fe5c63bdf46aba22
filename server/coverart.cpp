#include "coverart.h"

#include "packagedirectory.h"

#include <QBuffer>
#include <QColor>
#include <QImage>

QByteArray CoverArt::cover(const PackageDirectory &package, QSize size, const QString &bookId)
{
    const QByteArray own = package.record(recordName(size));
    if (!own.isEmpty() && !QImage::fromData(own, "PNG").isNull())
        return own;
    const QByteArray scaled = scaledFromPackage(package, size);
    return scaled.isEmpty() ? placeholder(size, bookId) : scaled;
}

QString CoverArt::fileName(const QString &bookId, QSize size)
{
    return bookId + QLatin1Char('-') + QString::fromLatin1(recordName(size));
}

QByteArray CoverArt::recordName(QSize size)
{
    return QByteArray::number(size.width()) + '_' + QByteArray::number(size.height()) + ".png";
}

QByteArray CoverArt::scaledFromPackage(const PackageDirectory &package, QSize size)
{
    for (const char *name : {"82_118.png", "58_84.png", "44_63.png"}) {
        const QImage image = QImage::fromData(package.record(name), "PNG");
        if (!image.isNull())
            return toPng(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return {};
}

QByteArray CoverArt::placeholder(QSize size, const QString &bookId)
{
    // A colour of its own per book keeps the shelves of the demo apart.
    const uint hue = qHash(bookId) % 360;
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(int(hue), 90, 200));
    const QColor band = QColor::fromHsv(int(hue), 160, 120);
    for (int y = size.height() / 3; y < size.height() / 3 + size.height() / 6; ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, band);
    return toPng(image);
}

QByteArray CoverArt::toPng(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
