#ifndef TESTBOOKS_H
#define TESTBOOKS_H

// Small book packages for the store to offer.

#include "bookpacker.h"
#include "vbpwriter.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace TestBooks {

// A two-chapter book with covers; false (with the reason) when it cannot be packed.
inline bool pack(const QString &path, const QString &id, const QString &title,
                 const QString &author, const QString &description, QString *error)
{
    BookSource source;
    source.id = id;
    source.title = title;
    source.author = author;
    source.publisher = QStringLiteral("Test House");
    source.description = description;
    source.chapters = {{QStringLiteral("One"), QStringLiteral("First chapter text.")},
                       {QStringLiteral("Two"), QStringLiteral("Second chapter text.")}};
    return BookPacker(source).writeTo(path, error);
}

// Packs a plain book titled "Book <id>" as "<id>.vbp" for each id into the
// folder, made when missing.
inline bool packEach(const QString &folder, const QStringList &ids, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make ") + folder;
        return false;
    }
    for (const QString &id : ids) {
        if (!pack(folder + QLatin1Char('/') + id + QStringLiteral(".vbp"), id,
                  QStringLiteral("Book ") + id, QStringLiteral("Ann Author"),
                  QStringLiteral("A short book."), error))
            return false;
    }
    return true;
}

// Packs the ids as packEach does into "<dir>/books" and returns that folder;
// empty (with the reason) when the folder or a book cannot be made.
inline QString packInto(const QTemporaryDir &dir, const QStringList &ids, QString *error)
{
    *error = QStringLiteral("no temporary folder");
    const QString folder = dir.filePath(QStringLiteral("books"));
    return dir.isValid() && packEach(folder, ids, error) ? folder : QString();
}

// A package with a book description and nothing else, for ids the packer
// does not take (non-ASCII ones) and books without cover pictures.
inline bool writeBare(const QString &path, const QString &id, const QString &title)
{
    VbpWriter bare;
    QString index = QStringLiteral("<vb ret=\"ok\" id=\"%1\" title=\"%2\"><keys><author>Nobody"
                                   "</author></keys><description>No pictures</description>"
                                   "<chapters total=\"1\"><item cap=\"1\" id=\"c1\">One</item>"
                                   "</chapters></vb>")
                        .arg(id, title);
    bare.addRecord("index.xml", index.toUtf8());
    return bare.writeTo(path);
}

} // namespace TestBooks

#endif // TESTBOOKS_H
