#ifndef STOREBOOKLOADER_H
#define STOREBOOKLOADER_H

#include "storebook.h"

#include <QString>

// Turns one book package into a store entry: title, author, description and
// chapter count through the reader's own package library, the cover
// pictures through the package directory.
class StoreBookLoader
{
public:
    // False, with the reason in problem, when the file is not a readable
    // book package.
    static bool load(const QString &path, StoreBook &book, QString *problem);

private:
    static bool readDescription(const QString &path, StoreBook &book, QString *problem);
};

#endif // STOREBOOKLOADER_H
