#ifndef BOOKITEM_H
#define BOOKITEM_H

#include <QString>

// One book entry of a store front sub-category.
struct BookItem
{
    QString id;
    QString type;
    QString name;
    QString author;
    QString description;
};

#endif // BOOKITEM_H
