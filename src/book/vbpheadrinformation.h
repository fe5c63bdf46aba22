#ifndef VBPHEADRINFORMATION_H
#define VBPHEADRINFORMATION_H

// The fixed 92-byte package header; every text field has room for a
// terminator the file does not store.
struct VbpHeadrInformation
{
    char m_tag[5] = {};
    int m_key = 0;
    char m_contentID[17] = {};
    char m_sec0[33] = {};
    char m_sec1[33] = {};
    int m_filenum = 0;
    int m_flags = 0; // not stored in the file
};

#endif // VBPHEADRINFORMATION_H
