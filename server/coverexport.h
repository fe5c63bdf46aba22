#ifndef COVEREXPORT_H
#define COVEREXPORT_H

#include <QString>

class StoreCatalogue;

// Writes every book's cover pictures into a folder of the store's own, as
// "<book id>-<width>_<height>.png", for a front server to send. Done once at
// start-up; a file already holding the same picture is left alone, so its
// date and tag do not change for clients that cached it.
class CoverExport
{
public:
    // False, with the reason in error, when a file cannot be written.
    static bool write(const StoreCatalogue &catalogue, const QString &folder, QString *error);

private:
    static bool writeFile(const QString &path, const QByteArray &bytes);
};

#endif // COVEREXPORT_H
