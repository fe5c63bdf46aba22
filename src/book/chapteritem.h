#ifndef CHAPTERITEM_H
#define CHAPTERITEM_H

#include <QString>

// One text piece of a chapter description: a byte range of "content.txt",
// offset and length as the decimal text they were written in.
struct ChapterItem
{
    QString Chapterhref;
    QString Chapteroffset;
    QString Chapterlength;
};

#endif // CHAPTERITEM_H
