#ifndef TESTDATAROOT_H
#define TESTDATAROOT_H

// A fresh, empty data root for each test: the folders and the library
// database the code under test makes land in it and go with it.

#include <QTemporaryDir>
#include <memory>

class TestDataRoot
{
public:
    // Replaces the root by a new empty one and points ZARVOREADER_ROOT at it;
    // false when no temporary folder could be made.
    bool renew()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        if (!m_dir->isValid())
            return false;
        qputenv("ZARVOREADER_ROOT", m_dir->path().toLocal8Bit());
        return true;
    }

    QString path() const { return m_dir ? m_dir->path() : QString(); }
    QString filePath(const QString &name) const { return m_dir ? m_dir->filePath(name) : name; }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

#endif // TESTDATAROOT_H
