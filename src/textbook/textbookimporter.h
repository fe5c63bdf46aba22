#ifndef TEXTBOOKIMPORTER_H
#define TEXTBOOKIMPORTER_H

#include "booksource.h"

#include <QString>

// Makes a book from a plain-text file: the text decoded (TextDecoder), cut
// into chapters (ChapterSplitter), titled after the file name and packed
// with the vbp packer.
class TextBookImporter
{
public:
    // Larger files are not novels; reading them whole would only hurt.
    static constexpr qint64 MaxFileSize = qint64(64) << 20;

    // Files ending in ".txt", in any case.
    static bool isTextFile(const QString &path);
    // The file name without ".txt" when it makes a valid book id, else "txt-"
    // and a hash of that name (a title in Chinese characters, say): the id
    // names the package file and stays the same for the same file name.
    static QString bookIdFor(const QString &txtPath);

    static bool load(const QString &txtPath, BookSource &out, QString *error = nullptr);
    // Written through a temporary file: the package is whole or not there.
    static bool pack(const QString &txtPath, const QString &vbpPath, QString *error = nullptr);
};

#endif // TEXTBOOKIMPORTER_H
