#include "textdecoder.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const char Utf8Mark[] = "\xEF\xBB\xBF";
const char Utf16LEMark[] = "\xFF\xFE";
const char Utf16BEMark[] = "\xFE\xFF";

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

bool TextDecoder::decode(const QByteArray &bytes, QString &text, QString *error)
{
    bool decoded = false;
    if (bytes.startsWith(Utf8Mark))
        decoded = decodeUtf8(bytes.mid(3), text);
    else if (bytes.startsWith(Utf16LEMark))
        decoded = decodeUtf16(bytes.mid(2), false, text);
    else if (bytes.startsWith(Utf16BEMark))
        decoded = decodeUtf16(bytes.mid(2), true, text);
    else
        decoded = decodeUtf8(bytes, text) || decodeGb18030(bytes, text);
    if (!decoded || !looksLikeText(text)) {
        text.clear();
        return fail(error, QStringLiteral("not a text file in UTF-8, UTF-16 with a byte-order "
                                          "mark or GB18030"));
    }
    text = normalizedLineEnds(text);
    return true;
}

bool TextDecoder::decodeUtf8(const QByteArray &bytes, QString &text)
{
    // Qt's UTF-8 decoder flags overlong forms, surrogates and cut sequences.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

bool TextDecoder::decodeUtf16(const QByteArray &bytes, bool bigEndian, QString &text)
{
    if (bytes.size() % 2 != 0)
        return false;
    QStringDecoder decoder(bigEndian ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE,
                           QStringDecoder::Flag::Stateless);
    text = decoder.decode(bytes);
    // The decoder lets a lone surrogate through.
    return !decoder.hasError() && QStringView(text).isValidUtf16();
}

bool TextDecoder::decodeGb18030(const QByteArray &bytes, QString &text)
{
    QStringDecoder decoder("GB18030", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return false;
    text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    // GB18030 maps one to one onto Unicode: only valid bytes come back
    // unchanged, whatever the decoder made of a cut or stray byte.
    QStringEncoder encoder("GB18030", QStringEncoder::Flag::Stateless);
    return encoder.encode(text) == bytes;
}

bool TextDecoder::looksLikeText(const QString &text)
{
    // NUL and the other C0 controls do not occur in prose; tab, the line and
    // page breaks and the DOS end-of-file mark do.
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20)
            continue;
        if (u != '\t' && u != '\n' && u != '\v' && u != '\f' && u != '\r' && u != 0x1A)
            return false;
    }
    return true;
}

QString TextDecoder::normalizedLineEnds(const QString &text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}
