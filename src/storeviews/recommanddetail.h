#ifndef RECOMMANDDETAIL_H
#define RECOMMANDDETAIL_H

#include <QString>

// One book of the paged recommendation list.
struct RecommandDetail
{
    QString ImagePath;
    QString BookName;
    QString AuthorName;
    QString Summary;
    QString BookID;
};

#endif // RECOMMANDDETAIL_H
