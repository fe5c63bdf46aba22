#ifndef TESTBOOKS_H
#define TESTBOOKS_H

// Small book packages for the store to offer.

#include "bookpacker.h"
#include "vbpwriter.h"

#include <QString>

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
