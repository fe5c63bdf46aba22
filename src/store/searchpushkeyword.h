#ifndef SEARCHPUSHKEYWORD_H
#define SEARCHPUSHKEYWORD_H

#include <QString>
#include <QStringList>

// The search keywords the store suggests, in the store's order.
class SearchPushKeyword
{
public:
    QString ret;
    int count = 0;
    QStringList keywordList;
};

#endif // SEARCHPUSHKEYWORD_H
