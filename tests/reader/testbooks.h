#ifndef TESTBOOKS_H
#define TESTBOOKS_H

// Small book packages for the reader and shelf tests, made with the packer.

#include "bookpacker.h"
#include "vbpwriter.h"

#include <QDir>
#include <QFile>

using TestChapters = QList<BookSource::Chapter>;

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool writeTestBook(const QString &path, const QString &id, const QString &title,
                          const QString &author, const TestChapters &chapters)
{
    return writeFile(path, BookPacker({id, title, author, {}, {}, chapters}).toBytes());
}

// A chapter package with the given description and text bytes, for texts the
// packer would not write (no pieces at all, a piece of odd length).
inline QByteArray rawChapterPackage(const QByteArray &chapterXml, const QByteArray &content)
{
    VbpWriter writer;
    writer.addRecord("chapter.xml", chapterXml);
    writer.addRecord("content.txt", content);
    return writer.toBytes();
}

// A book whose description lists one chapter per title (or is the given one)
// but whose chapter records are the given packages: fewer packages, the rest
// are missing.
inline QByteArray rawBook(const QStringList &titles, const QList<QByteArray> &packages,
                          const QByteArray &indexXml = {})
{
    TestChapters chapters;
    for (const QString &title : titles)
        chapters.append({title, QStringLiteral("x")});
    VbpWriter writer;
    writer.addRecord("index.xml",
                     indexXml.isEmpty()
                         ? BookPacker({"raw", "Raw", "Nobody", {}, {}, chapters}).indexXml()
                         : indexXml);
    for (int i = 0; i < packages.size(); ++i)
        writer.addRecord((BookPacker::chapterId(i) + ".vbp").toLatin1(), packages.at(i));
    return writer.toBytes();
}

// Numbered lines "p-01\n", "p-02\n", ...: easy to recognise on a page.
inline QString numberedLines(const QString &prefix, int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("%1-%2\n").arg(prefix).arg(i, 2, 10, QLatin1Char('0'));
    return text;
}

#endif // TESTBOOKS_H
