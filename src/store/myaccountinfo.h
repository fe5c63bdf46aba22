#ifndef MYACCOUNTINFO_H
#define MYACCOUNTINFO_H

#include "line.h"

#include <QList>
#include <QString>

// The account page's lines in the store's order; owns them.
class MyAccountInfo
{
public:
    MyAccountInfo() = default;
    ~MyAccountInfo();
    MyAccountInfo(const MyAccountInfo &) = delete;
    MyAccountInfo &operator=(const MyAccountInfo &) = delete;

    QString ret;
    QList<Line *> LinesList;
};

#endif // MYACCOUNTINFO_H
