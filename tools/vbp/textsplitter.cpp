#include "textsplitter.h"

QStringList TextSplitter::split(const QString &text, int maxUnits)
{
    // Room for at least one surrogate pair.
    maxUnits = qMax(maxUnits, 2);
    QStringList pieces;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = pieceEnd(text, start, maxUnits);
        pieces.append(text.mid(start, end - start));
        start = end;
    }
    return pieces;
}

qsizetype TextSplitter::pieceEnd(const QString &text, qsizetype start, int maxUnits)
{
    const qsizetype limit = start + maxUnits;
    if (limit >= text.size())
        return text.size();
    const qsizetype lineBreak = text.lastIndexOf(QLatin1Char('\n'), limit - 1);
    if (lineBreak >= start + maxUnits / 2)
        return lineBreak + 1;
    // A high surrogate just before the cut keeps its partner company.
    if (text.at(limit - 1).isHighSurrogate())
        return limit - 1;
    return limit;
}
