#ifndef HREFITEM_H
#define HREFITEM_H

#include <QString>

// One link entry of a store front sub-category; kept with the page, not shown.
struct HrefItem
{
    QString id;
    QString type;
    QString href;
    QString smsrept;
    QString smscallback;
    QString description;
};

#endif // HREFITEM_H
