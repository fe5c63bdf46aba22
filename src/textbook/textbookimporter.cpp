#include "textbookimporter.h"

#include "bookpacker.h"
#include "chaptersplitter.h"
#include "textdecoder.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

bool TextBookImporter::isTextFile(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
}

QString TextBookImporter::bookIdFor(const QString &txtPath)
{
    const QString name = QFileInfo(txtPath).completeBaseName();
    if (BookPacker::isValidBookId(name))
        return name;
    const QByteArray digest = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("txt-") + QString::fromLatin1(digest.toHex().left(16));
}

bool TextBookImporter::load(const QString &txtPath, BookSource &out, QString *error)
{
    QFile file(txtPath);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("cannot read %1: %2").arg(txtPath, file.errorString()));
    if (file.size() > MaxFileSize)
        return fail(error,
                    QStringLiteral("%1 is larger than %2 MiB").arg(txtPath).arg(MaxFileSize >> 20));
    QString text;
    QString why;
    if (!TextDecoder::decode(file.readAll(), text, &why))
        return fail(error, QStringLiteral("%1: %2").arg(txtPath, why));
    if (text.trimmed().isEmpty())
        return fail(error, QStringLiteral("%1 holds no text").arg(txtPath));

    BookSource book;
    book.id = bookIdFor(txtPath);
    book.title = QFileInfo(txtPath).completeBaseName();
    book.chapters = ChapterSplitter::split(text);
    out = book;
    return true;
}

bool TextBookImporter::pack(const QString &txtPath, const QString &vbpPath, QString *error)
{
    BookSource book;
    if (!load(txtPath, book, error))
        return false;
    return BookPacker(book).writeTo(vbpPath, error);
}
