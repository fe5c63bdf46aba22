#ifndef LINE_H
#define LINE_H

#include <QString>

// One line of the account page: a caption and its value.
class Line
{
public:
    QString name;
    QString value;
};

#endif // LINE_H
