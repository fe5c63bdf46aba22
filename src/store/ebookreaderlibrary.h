#ifndef EBOOKREADERLIBRARY_H
#define EBOOKREADERLIBRARY_H

#include "catitem.h"
#include "recommenditem.h"
#include "subcat.h"

#include <QList>
#include <QString>

// One store front or category page as the store describes it. Owns every
// item in its lists.
class EBookReaderLibrary
{
public:
    EBookReaderLibrary() = default;
    ~EBookReaderLibrary();
    EBookReaderLibrary(const EBookReaderLibrary &) = delete;
    EBookReaderLibrary &operator=(const EBookReaderLibrary &) = delete;

    QString ret;
    QList<CatItem *> catList;
    // The category this page describes; pages are cached under it.
    QString currentId;
    QList<RecommendItem *> recommendList;
    QList<Subcat *> subcatList;
};

#endif // EBOOKREADERLIBRARY_H
