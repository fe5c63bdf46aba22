#ifndef BOOKSEARCHER_H
#define BOOKSEARCHER_H

#include "booksearchhit.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <functional>

class FoldedPattern;

// Searches a book package chapter by chapter, holding one chapter's text at
// a time, and hands over the hits of each chapter as soon as it is done.
class BookSearcher
{
public:
    // Asked between chapters and every so often inside a long one; true ends
    // the search.
    using Cancelled = std::function<bool()>;
    using Found = std::function<void(const QList<BookSearchHit> &)>;

    enum Result
    {
        Done = 0,
        // Stopped by Cancelled; codes above 0 are the package reader's.
        Stopped = -1,
        // MaxHits were found; the rest of the book was not searched.
        TooManyHits = -2
    };

    static constexpr int MaxHits = 1000;
    // Characters shown on either side of a hit in its snippet.
    static constexpr int SnippetBefore = 8;
    static constexpr int SnippetAfter = 12;

    BookSearcher(Cancelled cancelled, Found found);

    // A Result or the package reader's code. An empty query finds nothing.
    int run(const QString &bookId, const QString &path, const QString &query);

    // The hits of one text, offsets in it; false when cancelled.
    bool searchText(const FoldedPattern &pattern, QStringView text, QList<BookSearchHit> &hits,
                    int room) const;
    static BookSearchHit makeHit(QStringView text, qsizetype offset, qsizetype length);

private:
    Cancelled m_cancelled;
    Found m_found;
};

#endif // BOOKSEARCHER_H
