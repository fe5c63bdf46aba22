#ifndef VBP_H
#define VBP_H

#include "vbpcontentsinformation.h"
#include "vbpheadrinformation.h"

#include <QByteArray>
#include <QList>
#include <QString>

enum VbpType
{
    VBP_UNKOWN = 0,
    VBP_BOOK = 1,
    VBP_CHAPTER = 2
};

// One opened package: its header and its directory in file order. The
// directory is kept as the file stores it, 48 bytes an entry, and an entry
// is only decoded when a lookup finds it: a book of many chapters looks up a
// handful of records, so a string per entry would be built for nothing.
class VBP
{
public:
    enum class NameCodec
    {
        Latin1,
        Utf8
    };

    // First entry with this (non-empty) name.
    bool getVBRecord(const QString &name, VbpContentsInformation &out) const;
    // Last entry with this (non-empty) name.
    bool FindVBRecord(const QString &name, VbpContentsInformation &out) const;
    // Entries added here come after those of the stored directory.
    void AddVBRecord(const VbpContentsInformation &entry);
    // Takes the raw directory: count entries of 48 bytes, names in codec.
    void setDirectory(const QByteArray &raw, int count, NameCodec codec);

    int m_recordlen = 0;
    int m_type = VBP_UNKOWN;
    VbpHeadrInformation m_vbpheader;
    QList<VbpContentsInformation> m_recordMap;
    QString m_id;

private:
    // Whether stored entry i is named name; fills out when it is.
    bool directoryEntry(int i, const QString &name, VbpContentsInformation &out) const;

    QByteArray m_directory;
    int m_directoryCount = 0;
    NameCodec m_codec = NameCodec::Latin1;
};

#endif // VBP_H
