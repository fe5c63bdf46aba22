#ifndef STOREBOOKLOADER_H
#define STOREBOOKLOADER_H

#include "storebook.h"

#include <QString>

class PackageDirectory;

// Turns one book package into a store entry: title, author, description and
// chapter count through the reader's own description parser, the cover
// pictures through the package directory. Nothing is written anywhere.
class StoreBookLoader
{
public:
    // False, with the reason in problem, when the file is not a readable
    // book package.
    static bool load(const QString &path, StoreBook &book, QString *problem);

private:
    static bool readDescription(const PackageDirectory &package, StoreBook &book, QString *problem);
};

#endif // STOREBOOKLOADER_H
