#ifndef BOOKSOURCE_H
#define BOOKSOURCE_H

#include <QList>
#include <QString>

// The plain content of one book before it is packed: key data and the
// chapters in reading order.
struct BookSource
{
    struct Chapter
    {
        QString title;
        QString text;
    };

    QString id;
    QString title;
    QString author;
    QString publisher;
    QString description;
    QList<Chapter> chapters;

    // {"id","title","author","publisher","description","chapters":[{"title","text"}]};
    // false with a message in error when the document does not have that shape.
    static bool fromJson(const QByteArray &json, BookSource &out, QString *error);
    // One chapter per UTF-8 text file of the folder, in file name order; the
    // chapter title is the file's first line, else its base name.
    static bool fromFolder(const QString &folder, BookSource &out, QString *error);
};

#endif // BOOKSOURCE_H
