#include "booksearcher.h"

#include "bookchaptersource.h"
#include "foldedpattern.h"

#include <utility>

namespace {
// How much of a long chapter is searched between two looks at Cancelled.
constexpr qsizetype CancelCheckUnits = 64 * 1024;

// Moves a cut off the second half of a surrogate pair.
qsizetype WholeCharacterAt(QStringView text, qsizetype at)
{
    if (at > 0 && at < text.size() && text.at(at).isLowSurrogate() &&
        text.at(at - 1).isHighSurrogate())
        return at - 1;
    return at;
}
} // namespace

BookSearcher::BookSearcher(Cancelled cancelled, Found found)
    : m_cancelled(std::move(cancelled)), m_found(std::move(found))
{}

BookSearchHit BookSearcher::makeHit(QStringView text, qsizetype offset, qsizetype length)
{
    const qsizetype start = WholeCharacterAt(text, qMax<qsizetype>(0, offset - SnippetBefore));
    const qsizetype end =
        WholeCharacterAt(text, qMin<qsizetype>(text.size(), offset + length + SnippetAfter));
    QString snippet = text.mid(start, end - start).toString();
    // One line however the text breaks; the same length keeps the mark in
    // place.
    for (QChar &c : snippet) {
        if (c.unicode() < u' ')
            c = QLatin1Char(' ');
    }
    qsizetype lead = 0;
    while (lead < offset - start && snippet.at(lead).isSpace())
        ++lead;
    qsizetype tail = snippet.size();
    while (tail > offset - start + length && snippet.at(tail - 1).isSpace())
        --tail;

    BookSearchHit hit;
    hit.offset = offset;
    hit.length = length;
    hit.snippet = snippet.mid(lead, tail - lead);
    hit.markStart = offset - start - lead;
    return hit;
}

bool BookSearcher::searchText(const FoldedPattern &pattern, QStringView text,
                              QList<BookSearchHit> &hits, int room) const
{
    // Long chapters are searched in stretches, so a new query need not wait
    // for the end of one; a hit starting in a stretch may run past its end.
    qsizetype resume = 0;
    for (qsizetype stretch = 0; stretch < text.size(); stretch += CancelCheckUnits) {
        if (stretch > 0 && m_cancelled())
            return false;
        const QStringView window =
            text.first(qMin(text.size(), stretch + CancelCheckUnits + pattern.length() - 1));
        for (qsizetype from = qMax(stretch, resume); hits.size() < room;) {
            const qsizetype at = pattern.indexIn(window, from);
            if (at < 0)
                break;
            hits.append(makeHit(text, at, pattern.length()));
            from = resume = at + pattern.length();
        }
        if (hits.size() >= room)
            return true;
    }
    return true;
}

int BookSearcher::run(const QString &bookId, const QString &path, const QString &query)
{
    // Blanks typed around a word are not part of it.
    const FoldedPattern pattern(query.trimmed());
    if (pattern.isEmpty())
        return Done;
    BookChapterSource book;
    const int opened = book.open(bookId, path);
    if (opened != EerrorNot)
        return opened;
    QString text;
    int found = 0;
    // A chapter that cannot be read is reported at the end; the others are
    // still searched.
    int unreadable = Done;
    for (int chapter = 1; chapter <= book.chapterCount(); ++chapter) {
        if (m_cancelled())
            return Stopped;
        const int read = book.readChapter(chapter, text);
        if (read != EerrorNot) {
            unreadable = read;
            continue;
        }
        QList<BookSearchHit> hits;
        if (!searchText(pattern, text, hits, MaxHits - found))
            return Stopped;
        if (hits.isEmpty())
            continue;
        for (BookSearchHit &hit : hits) {
            hit.chapterNum = chapter;
            hit.chapterName = book.chapterName(chapter);
        }
        found += int(hits.size());
        m_found(hits);
        if (found >= MaxHits)
            return TooManyHits;
    }
    return unreadable;
}
