#include "sharedtext.h"

SharedText::SharedText(qsizetype sourceBytes)
    : m_decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless)
{
    // A byte never gives more than one UTF-16 unit, and each value takes at
    // least one byte, so twice the bytes hold the values and their zeros.
    if (sourceBytes <= 0)
        return;
    m_block = QString(2 * sourceBytes, Qt::Uninitialized);
    // The references the values will hold are taken in one step, not one by
    // one; those left over are given back at the end. The block never counts
    // fewer references than it has holders.
    m_spareRefs = int(qMin<qsizetype>(sourceBytes, MaxSpareRefs));
    m_block.data_ptr().d_ptr()->ref_.fetchAndAddRelaxed(m_spareRefs);
}

SharedText::~SharedText()
{
    // The block's own reference, held by m_block, keeps it alive here.
    if (m_spareRefs > 0)
        m_block.data_ptr().d_ptr()->ref_.fetchAndSubRelaxed(m_spareRefs);
}

namespace {

bool isContinuation(uchar c)
{
    return (c & 0xC0) == 0x80;
}

// Decodes well-formed UTF-8 of one to three bytes a sequence (all of the
// Basic Multilingual Plane but the surrogates) into out; -1 at anything else
// (an error, a four-byte sequence, a byte order mark at the start), which is
// left to the full decoder.
qsizetype decodeCommon(QByteArrayView bytes, char16_t *out)
{
    const auto *in = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    if (size >= 3 && in[0] == 0xEF && in[1] == 0xBB && in[2] == 0xBF)
        return -1;
    qsizetype units = 0;
    for (qsizetype i = 0; i < size; ++units) {
        const uchar c = in[i];
        if (c < 0x80) {
            out[units] = c;
            i += 1;
        } else if (c >= 0xC2 && c < 0xE0 && i + 1 < size && isContinuation(in[i + 1])) {
            out[units] = char16_t(((c & 0x1F) << 6) | (in[i + 1] & 0x3F));
            i += 2;
        } else if (c >= 0xE0 && c < 0xF0 && i + 2 < size && isContinuation(in[i + 1]) &&
                   isContinuation(in[i + 2])) {
            const char16_t unit =
                char16_t(((c & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F));
            // Overlong forms and surrogates are errors.
            if (unit < 0x800 || (unit >= 0xD800 && unit <= 0xDFFF))
                return -1;
            out[units] = unit;
            i += 3;
        } else {
            return -1;
        }
    }
    return units;
}

} // namespace

qsizetype SharedText::widen(QByteArrayView bytes, char16_t *out)
{
    // Ids, numbers and titles are nearly always plain; anything else goes to
    // the decoder, which decodes it as QString::fromUtf8 would.
    const qsizetype units = decodeCommon(bytes, out);
    if (units >= 0)
        return units;
    QChar *end = m_decoder.appendToBuffer(reinterpret_cast<QChar *>(out), bytes);
    return reinterpret_cast<char16_t *>(end) - out;
}

QString SharedText::decode(QByteArrayView bytes)
{
    // An empty value needs no room; one that does not fit is decoded alone.
    if (bytes.isEmpty() || m_block.size() - m_used < bytes.size() + 1)
        return QString::fromUtf8(bytes);
    QString::DataPointer &block = m_block.data_ptr();
    char16_t *start = block.data() + m_used;
    const qsizetype units = widen(bytes, start);
    start[units] = u'\0';
    m_used += units + 1;
    // The value holds a reference to the block of its own.
    if (m_spareRefs > 0)
        --m_spareRefs;
    else
        block.d_ptr()->ref();
    return QString(QString::DataPointer(block.d_ptr(), start, units));
}
