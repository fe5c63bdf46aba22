#ifndef QFILESTREAM_H
#define QFILESTREAM_H

#include "qrawfile.h"

#include <QtGlobal>

// Byte-level reading and writing of one file with fixed-width integers in
// both byte orders. A short read never fails: the missing bytes read as zero,
// so callers check the length first or test IsEof() afterwards.
class QFileStream
{
public:
    QFileStream() = default;
    QFileStream(const QFileStream &) = delete;
    QFileStream &operator=(const QFileStream &) = delete;
    virtual ~QFileStream() = default;

    virtual unsigned GetLength();
    virtual int GetPosition();
    virtual bool Seek(int offset, int seekMode);
    virtual bool SetPosition(int pos);
    virtual bool Skip(int count);
    virtual bool IsReadOnly();
    virtual int Read(void *buffer, int count);
    virtual qint8 ReadByte();
    virtual quint8 ReadUByte();
    virtual qint16 ReadShortLE();
    virtual quint16 ReadUShortLE();
    virtual qint32 ReadIntLE();
    virtual quint32 ReadUIntLE();
    virtual qint16 ReadShortBE();
    virtual quint16 ReadUShortBE();
    virtual qint32 ReadIntBE();
    virtual quint32 ReadUIntBE();
    virtual int Write(const void *buffer, int count);
    virtual int WriteByte(int value);
    virtual int WriteShortLE(int value);
    virtual int WriteIntLE(int value);
    virtual void Close();

    bool Open(const char *path, int mode);
    bool IsEof() const;
    bool IsRegularFile() const { return m_file.IsRegularFile(); }
    // Positioned reads that leave the stream's position alone: one system
    // call for a record instead of a seek and buffered reads.
    qint64 ReadAt(qint64 pos, void *buffer, qint64 count)
    {
        return m_file.ReadAt(pos, buffer, count);
    }
    qint64 RegularFileLength() const { return m_file.RegularFileLength(); }
    bool IsSameFile(const char *path) const { return m_file.IsSameFile(path); }

private:
    quint32 readLE(int width);
    quint32 readBE(int width);
    int writeLE(quint32 value, int width);

    QRawFile m_file;
    int m_mode = 0;
};

#endif // QFILESTREAM_H
