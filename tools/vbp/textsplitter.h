#ifndef TEXTSPLITTER_H
#define TEXTSPLITTER_H

#include <QStringList>

// Cuts a chapter text into pieces of bounded size whose concatenation is the
// text again. A piece ends after a line break where one lies in the second
// half of the window, and never between the two halves of a surrogate pair.
class TextSplitter
{
public:
    static constexpr int DefaultMaxUnits = 4096;

    static QStringList split(const QString &text, int maxUnits = DefaultMaxUnits);

private:
    static qsizetype pieceEnd(const QString &text, qsizetype start, int maxUnits);
};

#endif // TEXTSPLITTER_H
