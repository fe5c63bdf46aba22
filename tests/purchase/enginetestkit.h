#ifndef ENGINETESTKIT_H
#define ENGINETESTKIT_H

// What the download engine tests share: made-up package bytes, files of a
// task in the book folder, and tasks written straight into the task store as
// an earlier run of the program would have left them.

#include "commondef.h"
#include "dlfileinfo.h"
#include "downloaddatastore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace enginetest {

// A different run of byte values per seed.
inline QByteArray packageBytes(int size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + seed * 7 + i / 251) & 0xff);
    return bytes;
}

inline QString packagePath(const QString &cid)
{
    return BookFolder + QLatin1Char('/') + cid + QLatin1String(".vbp");
}

inline QString partialPath(const QString &cid)
{
    return packagePath(cid) + QLatin1String("temp");
}

inline qint64 partialSize(const QString &cid)
{
    return QFileInfo(partialPath(cid)).size();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A task as the last run left it; the partial file is written unless
// partial is null.
inline bool seedTask(const QString &cid, const QString &link, DLFileInfo::State state,
                     const QByteArray &partial, qint64 total, const QString &validator)
{
    DownLoadDataStore store;
    store.createConnection(QStringLiteral("QSQLITE"), QStringLiteral("downLoadStore.db"));
    const DLFileInfo task(cid + QLatin1String(".vbp"), link, QStringLiteral("vbp"), total,
                          partial.size(), BookFolder, state, QStringLiteral("测试书"), QString());
    if (!store.addRecord(task))
        return false;
    if (!validator.isEmpty() && !store.setValidator(task.m_fileName, validator))
        return false;
    return partial.isNull() || writeFile(partialPath(cid), partial);
}

inline DLFileInfo storedTask(const QString &cid)
{
    DownLoadDataStore store;
    store.createConnection(QStringLiteral("QSQLITE"), QStringLiteral("downLoadStore.db"));
    DLFileInfo task;
    store.getRecordByFileName(task, cid + QLatin1String(".vbp"));
    return task;
}

} // namespace enginetest

#endif // ENGINETESTKIT_H
