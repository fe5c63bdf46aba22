#include "packagewindow.h"

#include "qfilestream.h"
#include "vbpreader.h"

#include <climits>
#include <cstring>
#include <new>

namespace {

// A buffer of reserve + length bytes (QByteArray adds the zero byte after
// them), or the reason there is none.
int allocate(qint64 pos, qint64 length, qint64 reserve, QByteArray &out)
{
    if (pos < 0 || pos > INT_MAX || length < 0 || reserve < 0 || length > INT_MAX - reserve)
        return EFileSizeError;
    try {
        // Every byte is written over, so there is nothing to clear first.
        out = QByteArray(reserve + length, Qt::Uninitialized);
    } catch (const std::bad_alloc &) {
        return EMemoryNotEnough;
    }
    return EerrorNot;
}

} // namespace

bool PackageWindow::load(QFileStream &stream, qint64 base, qint64 end, qint64 size)
{
    m_base = base;
    const qint64 wanted = qBound<qint64>(0, qMin(size, end - base), qint64(INT_MAX));
    // Keeps the room of the last package: no allocation after the first.
    m_bytes.resize(wanted);
    const qint64 got = base < 0 ? 0 : stream.ReadAt(base, m_bytes.data(), wanted);
    m_bytes.resize(qMax<qint64>(0, got));
    return got == wanted;
}

char *PackageWindow::find(qint64 pos, qint64 length)
{
    if (pos < m_base || length < 0 || pos - m_base > m_bytes.size() ||
        length > m_bytes.size() - (pos - m_base))
        return nullptr;
    return m_bytes.data() + (pos - m_base);
}

int PackageWindow::read(QFileStream &stream, qint64 pos, qint64 length, QByteArray &out,
                        qint64 reserve)
{
    const char *held = find(pos, length);
    if (!held)
        return readAt(stream, pos, length, out, reserve);
    const int ret = allocate(pos, length, reserve, out);
    if (ret == EerrorNot)
        std::memcpy(out.data() + reserve, held, size_t(length));
    return ret;
}

int PackageWindow::readAt(QFileStream &stream, qint64 pos, qint64 length, QByteArray &out,
                          qint64 reserve)
{
    const int ret = allocate(pos, length, reserve, out);
    if (ret != EerrorNot)
        return ret;
    // The file shrank since its length was taken.
    if (stream.ReadAt(pos, out.data() + reserve, length) != length)
        return EFileSizeError;
    return EerrorNot;
}
