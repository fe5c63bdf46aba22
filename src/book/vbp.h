#ifndef VBP_H
#define VBP_H

#include "vbpcontentsinformation.h"
#include "vbpheadrinformation.h"

#include <QList>
#include <QString>

enum VbpType
{
    VBP_UNKOWN = 0,
    VBP_BOOK = 1,
    VBP_CHAPTER = 2
};

// One opened package: its header and its directory in file order.
class VBP
{
public:
    // First entry with this (non-empty) name.
    bool getVBRecord(const QString &name, VbpContentsInformation &out) const;
    // Last entry with this (non-empty) name.
    bool FindVBRecord(const QString &name, VbpContentsInformation &out) const;
    void AddVBRecord(const VbpContentsInformation &entry);

    int m_recordlen = 0;
    int m_type = VBP_UNKOWN;
    VbpHeadrInformation m_vbpheader;
    QList<VbpContentsInformation> m_recordMap;
    QString m_id;
};

#endif // VBP_H
