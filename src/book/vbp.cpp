#include "vbp.h"

#include <QAnyStringView>
#include <QtEndian>
#include <cstring>

namespace {

constexpr int EntrySize = 48;
constexpr int NameSize = 40;

bool matches(const VbpContentsInformation &entry, const QString &name)
{
    return !entry.m_filename.isEmpty() && entry.m_filename == name;
}

} // namespace

void VBP::setDirectory(const QByteArray &raw, int count, NameCodec codec)
{
    const bool fits = count > 0 && raw.size() >= qint64(count) * EntrySize;
    m_directory = fits ? raw : QByteArray();
    m_directoryCount = fits ? count : 0;
    m_codec = codec;
}

bool VBP::directoryEntry(int i, const QString &name, VbpContentsInformation &out) const
{
    const char *entry = m_directory.constData() + qsizetype(i) * EntrySize;
    // A name filling all 40 bytes has no terminator.
    const qsizetype nameLength = qsizetype(strnlen(entry, NameSize));
    if (nameLength == 0 || name.isEmpty())
        return false;
    const bool same = m_codec == NameCodec::Utf8
                          ? QAnyStringView::equal(QUtf8StringView(entry, nameLength), name)
                          : QAnyStringView::equal(QLatin1StringView(entry, nameLength), name);
    if (!same)
        return false;
    // The name read from the file equals the one asked for.
    out.m_filename = name;
    out.m_off = qFromLittleEndian<qint32>(entry + NameSize);
    // Low byte flags, upper 24 bits length.
    const quint32 packed = qFromLittleEndian<quint32>(entry + NameSize + 4);
    out.m_flags = int(packed & 0xFF);
    out.m_len = int(packed >> 8);
    return true;
}

bool VBP::getVBRecord(const QString &name, VbpContentsInformation &out) const
{
    for (int i = 0; i < m_directoryCount; ++i)
        if (directoryEntry(i, name, out))
            return true;
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
    for (int i = m_directoryCount - 1; i >= 0; --i)
        if (directoryEntry(i, name, out))
            return true;
    return false;
}

void VBP::AddVBRecord(const VbpContentsInformation &entry)
{
    m_recordMap.append(entry);
}
