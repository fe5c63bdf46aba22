#ifndef FRONTDOORBOOKS_H
#define FRONTDOORBOOKS_H

// The store a front-door test talks to: small books in a temporary folder,
// offered through scripts/serve-store.sh.

#include "frontdoorprocess.h"
#include "testbooks.h"

#include <QDir>
#include <QNetworkProxy>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace FrontDoorBooks {

// Packs a book for each id into DIR/books (ids the packer does not take, the
// non-ASCII ones, get a package without pictures) and starts the store over
// them with its ledger in DIR/data, over loopback without a proxy; moreArguments go to zarvostore.
// Empty on success, otherwise what went wrong.
inline QString open(FrontDoorProcess &store, const QTemporaryDir &dir, const QStringList &ids,
                    const QStringList &moreArguments)
{
    const QString books = dir.filePath(QStringLiteral("books"));
    if (!dir.isValid() || !QDir().mkpath(books))
        return QStringLiteral("cannot make ") + books;
    QString error;
    for (const QString &id : ids) {
        const QString path = books + '/' + id + ".vbp";
        const bool packed =
            id.toLatin1() == id.toUtf8()
                ? TestBooks::pack(path, id, "Book " + id, "Ann Author", "A short book.", &error)
                : TestBooks::writeBare(path, id, "Book " + id);
        if (!packed)
            return QStringLiteral("cannot pack %1: %2").arg(id, error);
    }
    // Loopback traffic never goes through a proxy from the environment.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    return store.start(books, dir.filePath(QStringLiteral("data")), moreArguments);
}

} // namespace FrontDoorBooks

#endif // FRONTDOORBOOKS_H
