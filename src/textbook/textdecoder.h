#ifndef TEXTDECODER_H
#define TEXTDECODER_H

#include <QByteArray>
#include <QString>

// Turns the bytes of a plain-text book into text. A byte-order mark decides
// UTF-8 or UTF-16; without one the bytes must be strictly valid UTF-8, else
// strictly valid GB18030. Anything else (a binary file, a legacy code page we
// do not read) is refused, never guessed at.
class TextDecoder
{
public:
    // The text without its byte-order mark and with "\n" line ends; false
    // with a message in error when the bytes are none of the encodings.
    static bool decode(const QByteArray &bytes, QString &text, QString *error = nullptr);

private:
    static bool decodeUtf8(const QByteArray &bytes, QString &text);
    static bool decodeUtf16(const QByteArray &bytes, bool bigEndian, QString &text);
    static bool decodeGb18030(const QByteArray &bytes, QString &text);
    static bool looksLikeText(const QString &text);
    static QString normalizedLineEnds(const QString &text);
};

#endif // TEXTDECODER_H
