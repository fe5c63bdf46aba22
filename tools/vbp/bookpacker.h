#ifndef BOOKPACKER_H
#define BOOKPACKER_H

#include "booksource.h"

#include <QByteArray>
#include <QSize>
#include <QString>

// Turns a book source into a book package: "index.xml", three covers and one
// nested chapter package per chapter. The same source always gives the same
// bytes.
class BookPacker
{
public:
    // Text pieces of a chapter hold at most this many UTF-16 code units.
    static constexpr int PieceUnits = 4096;

    explicit BookPacker(const BookSource &source);

    // An empty id is replaced by one derived from title and author.
    QString bookId() const { return m_source.id; }
    static QString derivedId(const QString &title, const QString &author);
    // Ids end up as file names (book id + ".png", chapter id + ".vbp").
    static bool isValidBookId(const QString &id);
    static QString chapterId(int index);

    // Empty (with a message in error) when the source cannot be packed.
    QByteArray toBytes(QString *error = nullptr) const;
    bool writeTo(const QString &path, QString *error = nullptr) const;

    QByteArray indexXml() const;
    static QByteArray chapterXml(const QStringList &pieces);
    static QByteArray contentText(const QStringList &pieces);
    static QByteArray chapterPackage(const QString &id, const QString &text);

private:
    bool validate(QString *error) const;

    BookSource m_source;
};

#endif // BOOKPACKER_H
