#ifndef MYBOOKINFOITEM_H
#define MYBOOKINFOITEM_H

#include <QString>

// One book as the shelf model's item operations take it.
struct MyBookInfoItem
{
    QString m_id;
    QString m_name;
    QString m_iconPath;
    QString m_author;
    quint32 m_bookSize = 0; // kilobytes
    QString m_bookPath;
    bool m_newIconFlag = false;
};

#endif // MYBOOKINFOITEM_H
