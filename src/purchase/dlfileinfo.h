#ifndef DLFILEINFO_H
#define DLFILEINFO_H

#include <QString>

// One download task: the package file it fills, where from, how far it has
// got and in which state it is. The file name (content id + ".vbp") is the
// task's key everywhere: in the task list, the task store and the download
// centre.
class DLFileInfo
{
public:
    enum State
    {
        ENone = 0,
        EDownLoading = 1,
        EPause = 2,
        EDelete = 3,
        EComplete = 4,
        EWaiting = 5,
        EFailed = 6
    };

    DLFileInfo() = default;
    explicit DLFileInfo(const QString &fileName);
    DLFileInfo(const QString &fileName, const QString &url, const QString &stye, qint64 totalSize,
               qint64 currentSize, const QString &filePath, State state, const QString &bookName,
               const QString &picPath);

    QString m_fileName;
    QString m_url;
    QString m_stye;
    qint64 m_totalSize = 0;
    qint64 m_currentSize = 0;
    QString m_filePath;
    State m_state = ENone;
    QString m_bookName;
    QString m_picPath;
};

#endif // DLFILEINFO_H
