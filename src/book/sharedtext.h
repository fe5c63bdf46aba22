#ifndef SHAREDTEXT_H
#define SHAREDTEXT_H

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

// Decodes many short UTF-8 values into one block of UTF-16 and hands each out
// as a QString sharing that block: one allocation for all the chapter titles
// and ids of a description instead of one each. Every value is decoded
// exactly as QString::fromUtf8 decodes it on its own, and ends in a zero like
// any QString. A value that changes is copied out first, as a shared string
// always is; the block goes when the last value using it goes.
class SharedText
{
public:
    // Room for values decoded from at most sourceBytes bytes in all.
    explicit SharedText(qsizetype sourceBytes);
    ~SharedText();
    SharedText(const SharedText &) = delete;
    SharedText &operator=(const SharedText &) = delete;

    QString decode(QByteArrayView bytes);

private:
    // Decodes bytes to out, answering the units written.
    qsizetype widen(QByteArrayView bytes, char16_t *out);

    QString m_block;
    qsizetype m_used = 0;
    static constexpr qsizetype MaxSpareRefs = 1 << 20;
    // References to the block taken for values not yet handed out.
    int m_spareRefs = 0;
    QStringDecoder m_decoder;
};

#endif // SHAREDTEXT_H
