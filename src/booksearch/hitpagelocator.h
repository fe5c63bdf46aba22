#ifndef HITPAGELOCATOR_H
#define HITPAGELOCATOR_H

#include <QList>
#include <QString>

// Finds a hit on the pages of its chapter as the reading engine lays them
// out: the page holding the hit's first character, and where on that page's
// lines its characters are.
class HitPageLocator
{
public:
    struct Mark
    {
        int line = 0;
        int column = 0; // UTF-16 units into the line as the page shows it
        int length = 0;
    };

    // The text is read, not copied: it must outlive the locator.
    explicit HitPageLocator(const QString &chapterText);

    // The page (from 0) holding offset, or -1 outside the text.
    int pageOf(qsizetype offset) const;
    // The stretches of [offset, offset + length) on page page, one per line
    // it touches; the part on a following page is not marked.
    QList<Mark> marksOnPage(int page, qsizetype offset, qsizetype length) const;

private:
    const QString &m_text;
    QList<qsizetype> m_pageStarts;
};

#endif // HITPAGELOCATOR_H
