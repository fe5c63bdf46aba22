#include "vbp.h"

static bool matches(const VbpContentsInformation &entry, const QString &name)
{
    return !entry.m_filename.isEmpty() && entry.m_filename == name;
}

bool VBP::getVBRecord(const QString &name, VbpContentsInformation &out) const
{
    for (const VbpContentsInformation &entry : m_recordMap) {
        if (matches(entry, name)) {
            out = entry;
            return true;
        }
    }
    return false;
}

bool VBP::FindVBRecord(const QString &name, VbpContentsInformation &out) const
{
    for (auto it = m_recordMap.crbegin(); it != m_recordMap.crend(); ++it) {
        if (matches(*it, name)) {
            out = *it;
            return true;
        }
    }
    return false;
}

void VBP::AddVBRecord(const VbpContentsInformation &entry)
{
    m_recordMap.append(entry);
}
