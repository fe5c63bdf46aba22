#ifndef SUBCAT_H
#define SUBCAT_H

#include "bookitem.h"
#include "hrefitem.h"

#include <QList>
#include <QString>

// One sub-category of a store front page with its book and link entries,
// which it owns.
class Subcat
{
public:
    Subcat() = default;
    ~Subcat();
    Subcat(const Subcat &) = delete;
    Subcat &operator=(const Subcat &) = delete;

    QString subId;
    QString subCatName;
    QList<BookItem *> BookItemList;
    QList<HrefItem *> HrefItemList;
};

#endif // SUBCAT_H
