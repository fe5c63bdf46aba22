#include "fileidentity.h"

namespace {
bool sameTime(const struct timespec &a, const struct timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}
} // namespace

FileIdentity::FileIdentity(const struct stat &info)
    : m_valid(true), m_device(info.st_dev), m_inode(info.st_ino), m_size(info.st_size),
      m_modified(info.st_mtim), m_changed(info.st_ctim)
{}

FileIdentity FileIdentity::ofPath(const char *path)
{
    struct stat info;
    return path && stat(path, &info) == 0 ? FileIdentity(info) : FileIdentity();
}

FileIdentity FileIdentity::ofDescriptor(int fd)
{
    struct stat info;
    return fd >= 0 && fstat(fd, &info) == 0 ? FileIdentity(info) : FileIdentity();
}

bool FileIdentity::operator==(const FileIdentity &other) const
{
    return m_valid && other.m_valid && m_device == other.m_device && m_inode == other.m_inode &&
           m_size == other.m_size && sameTime(m_modified, other.m_modified) &&
           sameTime(m_changed, other.m_changed);
}
