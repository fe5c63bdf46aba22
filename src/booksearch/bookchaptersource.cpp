#include "bookchaptersource.h"

#include "vrbchaptersrelt.h"

#include <QtEndian>

namespace {
// Whole UTF-16 units of a piece; an odd last byte is half a unit and is left
// out, as on the page.
qsizetype PieceUnits(const VRBChaptersRelt::VBTextItem &item)
{
    return qBound(0, item.m_len, int(item.m_text.size())) / 2;
}
} // namespace

BookChapterSource::BookChapterSource() = default;
BookChapterSource::~BookChapterSource() = default;

int BookChapterSource::open(const QString &bookId, const QString &path)
{
    m_reader = std::make_unique<VbpReader>();
    m_info = std::make_unique<VRRBookInfo>();
    m_bookId.clear();
    m_path.clear();
    VRRBookInfo *info = m_info.get();
    VRBChaptersRelt *chapters = nullptr;
    const int result = m_reader->openVBP(bookId, path, chapters, info);
    if (result != EerrorNot) {
        m_info.reset();
        return result;
    }
    m_bookId = bookId;
    m_path = path;
    return EerrorNot;
}

bool BookChapterSource::isOpenFor(const QString &bookId, const QString &path) const
{
    return m_info && m_bookId == bookId && m_path == path;
}

QString BookChapterSource::chapterName(int chapterNum) const
{
    if (chapterNum < 1 || chapterNum > chapterCount())
        return QString();
    return m_info->m_caplist.at(chapterNum - 1).m_title;
}

int BookChapterSource::readChapter(int chapterNum, QString &text)
{
    text.resize(0);
    if (chapterNum < 1 || chapterNum > chapterCount())
        return EFileNumError;
    VRBChaptersRelt *chapters = nullptr;
    const int result =
        m_reader->openChapterVBP(m_info->m_caplist.at(chapterNum - 1).m_id, chapters);
    if (result != EerrorNot || !chapters)
        return result;
    qsizetype units = 0;
    for (const auto &item : chapters->m_contentList)
        units += PieceUnits(*item);
    text.resize(units);
    // UTF-16 least significant byte first.
    char16_t *to = reinterpret_cast<char16_t *>(text.data());
    for (const auto &item : chapters->m_contentList) {
        const qsizetype count = PieceUnits(*item);
        qFromLittleEndian<char16_t>(item->m_text.constData(), count, to);
        to += count;
    }
    return EerrorNot;
}
