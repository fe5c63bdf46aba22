#include "hitpagelocator.h"

#include "vebookreader.h"

#include <algorithm>

namespace {
void SkipReturns(const QString &text, qsizetype &at)
{
    while (at < text.size() && text.at(at) == QLatin1Char('\r'))
        ++at;
}

// Adds column to the mark of line, extending the last mark when it is the
// next column of the same line.
void AddColumn(QList<HitPageLocator::Mark> &marks, int line, int column)
{
    if (!marks.isEmpty() && marks.last().line == line &&
        marks.last().column + marks.last().length == column) {
        ++marks.last().length;
        return;
    }
    marks.append({line, column, 1});
}
} // namespace

HitPageLocator::HitPageLocator(const QString &chapterText)
    : m_text(chapterText), m_pageStarts(VEBookReader::PageStarts(chapterText))
{}

int HitPageLocator::pageOf(qsizetype offset) const
{
    if (offset < 0 || offset >= m_text.size() || m_pageStarts.isEmpty())
        return -1;
    const auto after = std::upper_bound(m_pageStarts.cbegin(), m_pageStarts.cend(), offset);
    return int(after - m_pageStarts.cbegin()) - 1;
}

QList<HitPageLocator::Mark> HitPageLocator::marksOnPage(int page, qsizetype offset,
                                                        qsizetype length) const
{
    QList<Mark> marks;
    if (page < 0 || page >= m_pageStarts.size())
        return marks;
    // The page's lines are walked against the text they were cut from: a
    // line leaves out carriage returns and the line break that ended it.
    qsizetype at = m_pageStarts.at(page);
    const QStringList lines = VEBookReader::PageFrom(m_text, at);
    for (int line = 0; line < lines.size(); ++line) {
        const QString &shown = lines.at(line);
        for (int column = 0; column < shown.size(); ++column, ++at) {
            SkipReturns(m_text, at);
            if (at >= m_text.size() || m_text.at(at) != shown.at(column))
                return marks;
            if (at >= offset && at < offset + length)
                AddColumn(marks, line, column);
        }
        // A line break after a full line is the empty line that follows;
        // eating it here leaves that line nothing to eat, which comes to the
        // same place.
        SkipReturns(m_text, at);
        if (at < m_text.size() && m_text.at(at) == QLatin1Char('\n'))
            ++at;
        if (at >= offset + length)
            break;
    }
    return marks;
}
