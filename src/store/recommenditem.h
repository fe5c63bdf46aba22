#ifndef RECOMMENDITEM_H
#define RECOMMENDITEM_H

#include <QString>

// One book of the store front's recommendation strip.
struct RecommendItem
{
    QString id;
    QString name;
};

#endif // RECOMMENDITEM_H
