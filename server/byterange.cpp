#include "byterange.h"

#include <limits>

ByteRange::ByteRange(Kind kind, qint64 size, qint64 first, qint64 last)
    : m_kind(kind), m_size(size), m_first(first), m_last(last)
{}

bool ByteRange::readNumber(const QByteArray &text, qint64 *value)
{
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    bool ok = false;
    *value = text.toLongLong(&ok);
    // Too many digits for 64 bits still lies past the end of any package.
    if (!ok)
        *value = std::numeric_limits<qint64>::max();
    return true;
}

ByteRange ByteRange::parse(const QByteArray &header, qint64 size)
{
    const QByteArray value = header.trimmed();
    // The unit is case-insensitive; several ranges are answered whole.
    if (value.left(6).toLower() != "bytes=" || value.contains(','))
        return ByteRange(Whole, size);
    const QByteArray range = value.mid(6).trimmed();
    const int dash = range.indexOf('-');
    if (dash < 0)
        return ByteRange(Whole, size);
    const QByteArray firstText = range.left(dash).trimmed();
    const QByteArray lastText = range.mid(dash + 1).trimmed();
    qint64 first = 0;
    qint64 last = 0;
    if (firstText.isEmpty()) {
        // "bytes=-N": the last N bytes.
        if (!readNumber(lastText, &last))
            return ByteRange(Whole, size);
        if (last == 0 || size == 0)
            return ByteRange(Unsatisfiable, size);
        return ByteRange(Partial, size, qMax<qint64>(0, size - last), size - 1);
    }
    if (!readNumber(firstText, &first))
        return ByteRange(Whole, size);
    if (lastText.isEmpty())
        last = size - 1;
    else if (!readNumber(lastText, &last) || last < first)
        return ByteRange(Whole, size);
    if (first >= size)
        return ByteRange(Unsatisfiable, size);
    return ByteRange(Partial, size, first, qMin(last, size - 1));
}

QByteArray ByteRange::contentRange() const
{
    if (m_kind == Unsatisfiable)
        return "bytes */" + QByteArray::number(m_size);
    return "bytes " + QByteArray::number(m_first) + '-' + QByteArray::number(m_last) + '/' +
           QByteArray::number(m_size);
}
