#ifndef CHAPTERXMLITEM_H
#define CHAPTERXMLITEM_H

#include "chapteritem.h"
#include "imgxmlitem.h"

#include <QList>

// What a chapter description lists: its text pieces and its images.
struct ChapterXMLItem
{
    QList<ChapterItem> Chater;
    QList<ImgXMLItem> ImgInfo;
};

#endif // CHAPTERXMLITEM_H
