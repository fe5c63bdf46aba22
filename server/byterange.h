#ifndef BYTERANGE_H
#define BYTERANGE_H

#include <QByteArray>

// The part of a package a "Range" request header asks for. Only single
// byte ranges are honoured; any other form is ignored and the whole package
// sent, as HTTP allows.
class ByteRange
{
public:
    enum Kind
    {
        Whole,
        Partial,
        Unsatisfiable
    };

    static ByteRange parse(const QByteArray &header, qint64 size);

    Kind kind() const { return m_kind; }
    qint64 first() const { return m_first; }
    qint64 length() const { return m_last - m_first + 1; }
    // "bytes first-last/size", or "bytes */size" when unsatisfiable.
    QByteArray contentRange() const;

private:
    ByteRange(Kind kind, qint64 size, qint64 first = 0, qint64 last = -1);
    static bool readNumber(const QByteArray &text, qint64 *value);

    Kind m_kind;
    qint64 m_size;
    qint64 m_first;
    qint64 m_last;
};

#endif // BYTERANGE_H
