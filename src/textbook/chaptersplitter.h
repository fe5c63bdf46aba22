#ifndef CHAPTERSPLITTER_H
#define CHAPTERSPLITTER_H

#include "booksource.h"

#include <QList>
#include <QString>

// Cuts the text of a plain-text book into chapters. Each heading line (see
// HeadingRules) starts a chapter named after it and stays its first line;
// text before the first heading becomes a preface chapter. A text without
// headings is cut at paragraph ends into chapters of about TargetLength
// characters, each named after its first line. The chapters' texts put
// together are always the whole text again.
class ChapterSplitter
{
public:
    static constexpr int TargetLength = 10000;
    // Title of the text before the first heading.
    static QString prefaceTitle() { return QStringLiteral("前言"); }

    static QList<BookSource::Chapter> split(const QString &text);

private:
    static QList<BookSource::Chapter> splitAtHeadings(const QString &text);
    static QList<BookSource::Chapter> splitBySize(const QString &text);
    static qsizetype sizedChapterEnd(const QString &text, qsizetype start);
    static QString firstLineTitle(const QString &text);
};

#endif // CHAPTERSPLITTER_H
