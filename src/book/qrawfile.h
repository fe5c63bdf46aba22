#ifndef QRAWFILE_H
#define QRAWFILE_H

#include "fileidentity.h"

#include <cstdio>

// A buffered standard I/O file handle with open and seek modes of its own.
class QRawFile
{
public:
    enum AccessMode
    {
        MODE_READ = 1,
        MODE_WRITE = 2,
        MODE_CREATE = 4,
        MODE_APPEND = 8
    };
    enum SeekMode
    {
        FSEEK_BEGIN = 0,
        FSEEK_CURRENT = 1,
        FSEEK_END = 2
    };

    QRawFile() = default;
    QRawFile(const QRawFile &) = delete;
    QRawFile &operator=(const QRawFile &) = delete;
    virtual ~QRawFile();

    bool Open(const char *path, int mode);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }
    // A plain file, not a folder or a device (which open as well).
    bool IsRegularFile() const;

    bool Seek(long offset, int seekMode);
    unsigned GetLength();
    long Tell() const;
    bool IsEof() const;

    int Read(void *buffer, int count);
    int Write(const void *buffer, int count);

    // Up to count bytes at pos, straight from the file: neither the buffer
    // nor the position of the handle is used or moved. Fewer only at the end
    // of the file or on an error.
    long long ReadAt(long long pos, void *buffer, long long count);
    // The length of a plain file from one call; -1 for anything else.
    long long RegularFileLength() const;
    // Whether path still names the file open here, unchanged since its
    // length was taken: a file replaced or written since is not the same.
    bool IsSameFile(const char *path) const;

private:
    FILE *m_file = nullptr;
    // Nothing is ever buffered for writing, so the length on disk is the
    // length.
    bool m_readOnly = false;
    // The file as it was when its length was last taken.
    mutable FileIdentity m_identity;
};

#endif // QRAWFILE_H
