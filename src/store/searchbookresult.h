#ifndef SEARCHBOOKRESULT_H
#define SEARCHBOOKRESULT_H

#include <QString>

// One found book as the network manager hands it to the search manager.
struct SearchBookResult
{
    QString bookid;
    QString bookname;
    QString author;
    QString description;
    QString publisher;
    QString score;
    QString coverpic;
    QString price;
    QString status;
    QString tips;
};

#endif // SEARCHBOOKRESULT_H
