#include "rootedpath.h"

#include <QDir>

QString RootedPath::root()
{
    const QString root = qEnvironmentVariable("ZARVOREADER_ROOT");
    if (root.isEmpty())
        return QStringLiteral("/");
    return root;
}

QString RootedPath::path() const
{
    const QString base = root();
    if (base == QLatin1String("/"))
        return QString::fromLatin1(m_devicePath);
    return QDir::cleanPath(base + QLatin1Char('/') + QLatin1String(m_devicePath));
}
