#include "coverimageprovider.h"

#include <QImageReader>
#include <QUrl>

CoverImageProvider::CoverImageProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

QImage CoverImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    // The screen encodes the whole path; Qt gives it back partly decoded, but
    // never decodes a "%25", so decoding the rest once gives the path.
    const QString path = QUrl::fromPercentEncoding(id.toUtf8());
    QImageReader png(path, "png");
    png.setAutoDetectImageFormat(false);
    QImage image;
    if (!png.read(&image)) {
        QImageReader any(path);
        image = any.read();
    }
    if (requestedSize.isValid() && !image.isNull())
        image = image.scaled(requestedSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (size)
        *size = image.size();
    return image;
}
