#include "qrawfile.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

QRawFile::~QRawFile()
{
    Close();
}

bool QRawFile::Open(const char *path, int mode)
{
    Close();
    if (!path)
        return false;
    // The first flag present decides, so MODE_READ | MODE_CREATE truncates.
    const char *stdioMode = "rb";
    if (mode & MODE_CREATE)
        stdioMode = "wb";
    else if (mode & MODE_APPEND)
        stdioMode = "ab";
    else if (mode & MODE_WRITE)
        stdioMode = "w+b";
    m_file = std::fopen(path, stdioMode);
    m_readOnly = !(mode & (MODE_CREATE | MODE_APPEND | MODE_WRITE));
    return m_file != nullptr;
}

void QRawFile::Close()
{
    if (!m_file)
        return;
    std::fclose(m_file);
    m_file = nullptr;
    m_identity = FileIdentity();
}

bool QRawFile::Seek(long offset, int seekMode)
{
    if (!m_file)
        return false;
    if (seekMode != FSEEK_BEGIN && seekMode != FSEEK_CURRENT && seekMode != FSEEK_END)
        return false;
    return std::fseek(m_file, offset, seekMode) == 0;
}

bool QRawFile::IsRegularFile() const
{
    struct stat info;
    return m_file && fstat(fileno(m_file), &info) == 0 && S_ISREG(info.st_mode);
}

unsigned QRawFile::GetLength()
{
    if (!m_file)
        return 0;
    // A file only read from has its length on disk: one call instead of
    // three seeks.
    struct stat info;
    if (m_readOnly && fstat(fileno(m_file), &info) == 0 && S_ISREG(info.st_mode))
        return static_cast<unsigned long long>(info.st_size) > UINT_MAX
                   ? UINT_MAX
                   : static_cast<unsigned>(info.st_size);
    const long here = std::ftell(m_file);
    if (std::fseek(m_file, 0, SEEK_END) != 0)
        return 0;
    const long end = std::ftell(m_file);
    std::fseek(m_file, here < 0 ? 0 : here, SEEK_SET);
    if (end < 0)
        return 0;
    // A file beyond 4 GiB reports the largest length the type can hold, so
    // checks against it never let a record wrap around.
    if (static_cast<unsigned long>(end) > UINT_MAX)
        return UINT_MAX;
    return static_cast<unsigned>(end);
}

long QRawFile::Tell() const
{
    return m_file ? std::ftell(m_file) : -1;
}

bool QRawFile::IsEof() const
{
    return m_file && std::feof(m_file) != 0;
}

int QRawFile::Read(void *buffer, int count)
{
    if (!m_file || !buffer || count <= 0)
        return 0;
    return static_cast<int>(std::fread(buffer, 1, static_cast<size_t>(count), m_file));
}

int QRawFile::Write(const void *buffer, int count)
{
    if (!m_file || !buffer || count <= 0)
        return 0;
    return static_cast<int>(std::fwrite(buffer, 1, static_cast<size_t>(count), m_file));
}

long long QRawFile::ReadAt(long long pos, void *buffer, long long count)
{
    if (!m_file || !buffer || pos < 0 || count <= 0)
        return 0;
    auto *bytes = static_cast<char *>(buffer);
    long long done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fileno(m_file), bytes + done, size_t(count - done), pos + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    return done;
}

long long QRawFile::RegularFileLength() const
{
    struct stat info;
    if (!m_file || fstat(fileno(m_file), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    m_identity = FileIdentity(info);
    return info.st_size;
}

bool QRawFile::IsSameFile(const char *path) const
{
    if (!m_file)
        return false;
    // What the length was taken from, so that a change since counts too.
    const FileIdentity open =
        m_identity.isValid() ? m_identity : FileIdentity::ofDescriptor(fileno(m_file));
    return open == FileIdentity::ofPath(path);
}
