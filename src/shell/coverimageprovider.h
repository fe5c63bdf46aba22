#ifndef COVERIMAGEPROVIDER_H
#define COVERIMAGEPROVIDER_H

#include <QQuickImageProvider>

// The shelf's covers, "image://cover/" followed by the cover file's path. The
// covers are the PNG files the package reader extracts, so they are read as
// PNG straight away: Qt's own search for a reader by content would first
// load every image-format plugin (and libjpeg) on the way to the first
// cover of the first frame. A file that is no PNG after all is read with that
// search; a cover that cannot be read is an empty image, which the shelf
// shows as a missing cover.
class CoverImageProvider : public QQuickImageProvider
{
public:
    CoverImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;
};

#endif // COVERIMAGEPROVIDER_H
