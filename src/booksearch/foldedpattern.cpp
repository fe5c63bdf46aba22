#include "foldedpattern.h"

#include "chinesefolder.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

FoldedPattern::FoldedPattern(const QString &query)
    : m_folder(ChineseFolder::instance()), m_folded(m_folder.fold(query))
{
    if (m_folded.isEmpty())
        return;
    const char16_t first = m_folded.front().unicode();
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
        if (m_folder.fold(char16_t(unit)) == first)
            m_firstUnits.append(char16_t(unit));
    }
}

bool FoldedPattern::matchesAt(const char16_t *text, qsizetype at) const
{
    const char16_t *wanted = reinterpret_cast<const char16_t *>(m_folded.constData());
    for (qsizetype i = 1; i < m_folded.size(); ++i) {
        if (m_folder.fold(text[at + i]) != wanted[i])
            return false;
    }
    return true;
}

qsizetype FoldedPattern::indexIn(QStringView text, qsizetype from) const
{
    const qsizetype size = text.size();
    if (isEmpty() || from < 0 || size - from < m_folded.size())
        return -1;
    const char16_t *units = text.utf16();
    // Only starts that leave room for the whole query are looked at.
    const qsizetype lastStart = size - m_folded.size() + 1;
    if (m_firstUnits.size() <= MaxVectorUnits)
        return scanWithVectors(units, lastStart, from);
    return scanOneByOne(units, lastStart, from);
}

qsizetype FoldedPattern::scanOneByOne(const char16_t *text, qsizetype size, qsizetype from) const
{
    const char16_t first = m_folded.front().unicode();
    for (qsizetype i = from; i < size; ++i) {
        if (m_folder.fold(text[i]) == first && matchesAt(text, i))
            return i;
    }
    return -1;
}

qsizetype FoldedPattern::scanWithVectors(const char16_t *text, qsizetype size, qsizetype from) const
{
    qsizetype i = from;
#if defined(__SSE2__)
    // Eight units at a time against each unit that may start a match; only
    // the places where one does are folded and compared.
    __m128i wanted[MaxVectorUnits];
    const qsizetype kinds = m_firstUnits.size();
    for (qsizetype k = 0; k < kinds; ++k)
        wanted[k] = _mm_set1_epi16(short(m_firstUnits.at(k)));
    for (; i + 8 <= size; i += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
        __m128i any = _mm_cmpeq_epi16(block, wanted[0]);
        for (qsizetype k = 1; k < kinds; ++k)
            any = _mm_or_si128(any, _mm_cmpeq_epi16(block, wanted[k]));
        // Two mask bits per unit.
        for (uint mask = uint(_mm_movemask_epi8(any)); mask; mask &= mask - 1) {
            const qsizetype at = i + qCountTrailingZeroBits(mask) / 2;
            mask &= mask - 1;
            if (matchesAt(text, at))
                return at;
        }
    }
#endif
    return scanOneByOne(text, size, i);
}
