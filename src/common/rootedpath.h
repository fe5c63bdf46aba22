#ifndef ROOTEDPATH_H
#define ROOTEDPATH_H

#include <QString>

// A fixed device path resolved under the data root at the moment it is used:
// $ZARVOREADER_ROOT when set, else "/". Resolving late lets a test or the demo
// set the root before the first engine is built.
class RootedPath
{
public:
    constexpr explicit RootedPath(const char *devicePath) : m_devicePath(devicePath) {}

    // The path as written on the device, e.g. "/opt/ZarvoReader/db".
    const char *devicePath() const { return m_devicePath; }
    // The path under the current data root.
    QString path() const;
    operator QString() const { return path(); }

    static QString root();

private:
    const char *m_devicePath;
};

inline QString operator+(const RootedPath &p, const QString &s)
{
    return p.path() + s;
}
// Our sources are UTF-8, so a literal such as "/论语.txt" keeps its characters.
inline QString operator+(const RootedPath &p, const char *s)
{
    return p.path() + QString::fromUtf8(s);
}
inline QString operator+(const QString &s, const RootedPath &p)
{
    return s + p.path();
}

#endif // ROOTEDPATH_H
