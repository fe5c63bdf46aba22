#ifndef FILEIDENTITY_H
#define FILEIDENTITY_H

#include <sys/stat.h>

// What tells one version of a file from another without reading it: the
// device and inode (a file replaced by a rename is another inode), the size
// and the modification and change times (one written in place).
class FileIdentity
{
public:
    FileIdentity() = default;
    explicit FileIdentity(const struct stat &info);

    // The file path names now; invalid when there is none.
    static FileIdentity ofPath(const char *path);
    // The file open as fd.
    static FileIdentity ofDescriptor(int fd);

    bool isValid() const { return m_valid; }
    // Two invalid identities are never the same file.
    bool operator==(const FileIdentity &other) const;
    bool operator!=(const FileIdentity &other) const { return !(*this == other); }

private:
    bool m_valid = false;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    off_t m_size = 0;
    struct timespec m_modified = {};
    struct timespec m_changed = {};
};

#endif // FILEIDENTITY_H
