#ifndef SEARCHBOOKINFO_H
#define SEARCHBOOKINFO_H

#include <QString>

// One book of a search or recommendation page.
class bookInfo
{
public:
    QString id;
    QString type;
    QString bookName;
    QString author;
    QString description;
};

#endif // SEARCHBOOKINFO_H
