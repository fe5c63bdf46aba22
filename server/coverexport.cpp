#include "coverexport.h"

#include "coverart.h"
#include "storecatalogue.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

bool CoverExport::write(const StoreCatalogue &catalogue, const QString &folder, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make \"%1\"").arg(folder);
        return false;
    }
    const QDir dir(folder);
    for (const StoreBook &book : catalogue.books()) {
        const QPair<QSize, QByteArray> covers[] = {{CoverArt::LargeSize, book.largeCover},
                                                   {CoverArt::SmallSize, book.smallCover}};
        for (const auto &cover : covers) {
            const QString path = dir.filePath(CoverArt::fileName(book.id, cover.first));
            if (!writeFile(path, cover.second)) {
                *error = QStringLiteral("cannot write \"%1\"").arg(path);
                return false;
            }
        }
    }
    return true;
}

bool CoverExport::writeFile(const QString &path, const QByteArray &bytes)
{
    QFile existing(path);
    if (existing.size() == bytes.size() && existing.open(QIODevice::ReadOnly) &&
        existing.readAll() == bytes)
        return true;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
