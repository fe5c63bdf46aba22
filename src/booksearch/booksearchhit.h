#ifndef BOOKSEARCHHIT_H
#define BOOKSEARCHHIT_H

#include <QList>
#include <QMetaType>
#include <QString>

// One place where the query was found.
struct BookSearchHit
{
    int chapterNum = 0; // from 1
    QString chapterName;
    qsizetype offset = 0; // in UTF-16 units of the chapter's text
    qsizetype length = 0;
    // A few characters around the hit on one line, the hit itself between
    // markStart and markStart + length.
    QString snippet;
    qsizetype markStart = 0;
};

Q_DECLARE_METATYPE(BookSearchHit)

#endif // BOOKSEARCHHIT_H
