#ifndef VBPCONTENTSINFORMATION_H
#define VBPCONTENTSINFORMATION_H

#include <QString>

// One directory entry of a package: where a named record lies.
struct VbpContentsInformation
{
    QString m_filename;
    int m_off = 0;
    int m_flags = 0;
    int m_len = 0;
};

#endif // VBPCONTENTSINFORMATION_H
