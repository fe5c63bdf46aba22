#include "chaptersplitter.h"

#include "headingrules.h"

namespace {

// Titles made from a chapter's first line stay short enough for the list.
constexpr int MaxDerivedTitle = 20;

// The end of the line starting at start, its "\n" included.
qsizetype lineEnd(const QString &text, qsizetype start)
{
    const qsizetype newline = text.indexOf(QLatin1Char('\n'), start);
    return newline < 0 ? text.size() : newline + 1;
}

} // namespace

QList<BookSource::Chapter> ChapterSplitter::split(const QString &text)
{
    QList<BookSource::Chapter> chapters = splitAtHeadings(text);
    return chapters.isEmpty() ? splitBySize(text) : chapters;
}

QList<BookSource::Chapter> ChapterSplitter::splitAtHeadings(const QString &text)
{
    QList<qsizetype> starts;
    QStringList titles;
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = lineEnd(text, start);
        const QString line = text.mid(start, end - start);
        if (HeadingRules::isHeading(line)) {
            starts.append(start);
            titles.append(line.trimmed());
        }
        start = end;
    }
    if (starts.isEmpty())
        return {};

    QList<BookSource::Chapter> chapters;
    const QString before = text.left(starts.first());
    if (!before.trimmed().isEmpty())
        chapters.append({prefaceTitle(), before});
    else
        starts.first() = 0; // blank lines before the first heading go with it
    for (qsizetype i = 0; i < starts.size(); ++i) {
        const qsizetype end = i + 1 < starts.size() ? starts.at(i + 1) : text.size();
        chapters.append({titles.at(i), text.mid(starts.at(i), end - starts.at(i))});
    }
    return chapters;
}

QList<BookSource::Chapter> ChapterSplitter::splitBySize(const QString &text)
{
    QList<BookSource::Chapter> chapters;
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = sizedChapterEnd(text, start);
        const QString part = text.mid(start, end - start);
        chapters.append({firstLineTitle(part), part});
        start = end;
    }
    return chapters;
}

qsizetype ChapterSplitter::sizedChapterEnd(const QString &text, qsizetype start)
{
    const qsizetype target = start + TargetLength;
    // A short rest stays with this chapter rather than make one of its own.
    if (text.size() - start <= TargetLength + TargetLength / 4)
        return text.size();
    // The paragraph that crosses the target ends the chapter...
    const qsizetype after = text.indexOf(QLatin1Char('\n'), target - 1);
    if (after >= 0 && after < target + TargetLength / 2)
        return after + 1;
    // ...or, in a very long paragraph, the last paragraph end before it...
    const qsizetype before = text.lastIndexOf(QLatin1Char('\n'), target - 1);
    if (before >= start + TargetLength / 2)
        return before + 1;
    // ...or the target itself, never between the halves of a surrogate pair.
    return text.at(target - 1).isHighSurrogate() ? target + 1 : target;
}

QString ChapterSplitter::firstLineTitle(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QString title = line.trimmed();
        if (title.isEmpty())
            continue;
        if (title.size() <= MaxDerivedTitle)
            return title;
        const qsizetype cut =
            title.at(MaxDerivedTitle - 1).isHighSurrogate() ? MaxDerivedTitle - 1 : MaxDerivedTitle;
        return title.left(cut) + QStringLiteral("…");
    }
    return QString();
}
