#include "qfilestream.h"

#include <climits>

bool QFileStream::Open(const char *path, int mode)
{
    m_mode = mode;
    return m_file.Open(path, mode);
}

void QFileStream::Close()
{
    m_file.Close();
}

bool QFileStream::IsReadOnly()
{
    return m_mode == QRawFile::MODE_READ;
}

bool QFileStream::IsEof() const
{
    return m_file.IsEof();
}

unsigned QFileStream::GetLength()
{
    return m_file.GetLength();
}

int QFileStream::GetPosition()
{
    const long pos = m_file.Tell();
    return pos > INT_MAX ? INT_MAX : static_cast<int>(pos);
}

bool QFileStream::Seek(int offset, int seekMode)
{
    return m_file.Seek(offset, seekMode);
}

bool QFileStream::SetPosition(int pos)
{
    return m_file.Seek(pos, QRawFile::FSEEK_BEGIN);
}

bool QFileStream::Skip(int count)
{
    return m_file.Seek(count, QRawFile::FSEEK_CURRENT);
}

int QFileStream::Read(void *buffer, int count)
{
    return m_file.Read(buffer, count);
}

quint32 QFileStream::readLE(int width)
{
    unsigned char bytes[4] = {0, 0, 0, 0};
    Read(bytes, width);
    quint32 value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

quint32 QFileStream::readBE(int width)
{
    unsigned char bytes[4] = {0, 0, 0, 0};
    Read(bytes, width);
    quint32 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

qint8 QFileStream::ReadByte()
{
    return static_cast<qint8>(readLE(1));
}

quint8 QFileStream::ReadUByte()
{
    return static_cast<quint8>(readLE(1));
}

qint16 QFileStream::ReadShortLE()
{
    return static_cast<qint16>(readLE(2));
}

quint16 QFileStream::ReadUShortLE()
{
    return static_cast<quint16>(readLE(2));
}

qint32 QFileStream::ReadIntLE()
{
    return static_cast<qint32>(readLE(4));
}

quint32 QFileStream::ReadUIntLE()
{
    return readLE(4);
}

qint16 QFileStream::ReadShortBE()
{
    return static_cast<qint16>(readBE(2));
}

quint16 QFileStream::ReadUShortBE()
{
    return static_cast<quint16>(readBE(2));
}

qint32 QFileStream::ReadIntBE()
{
    return static_cast<qint32>(readBE(4));
}

quint32 QFileStream::ReadUIntBE()
{
    return readBE(4);
}

int QFileStream::Write(const void *buffer, int count)
{
    return m_file.Write(buffer, count);
}

int QFileStream::writeLE(quint32 value, int width)
{
    unsigned char bytes[4];
    for (int i = 0; i < width; ++i)
        bytes[i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
    return Write(bytes, width);
}

int QFileStream::WriteByte(int value)
{
    return writeLE(static_cast<quint32>(value), 1);
}

int QFileStream::WriteShortLE(int value)
{
    return writeLE(static_cast<quint32>(value), 2);
}

int QFileStream::WriteIntLE(int value)
{
    return writeLE(static_cast<quint32>(value), 4);
}
