#ifndef IMGXMLITEM_H
#define IMGXMLITEM_H

#include <QString>

// One image reference of a chapter description.
struct ImgXMLItem
{
    QString align;
    QString height;
    QString src;
};

#endif // IMGXMLITEM_H
