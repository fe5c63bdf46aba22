#ifndef CATITEM_H
#define CATITEM_H

#include <QString>

// One category of the store front's category bar.
struct CatItem
{
    QString id;
    QString name;
    // Only the exact text "true" in the answer marks the focused category.
    bool focus = false;
};

#endif // CATITEM_H
