#ifndef DOWNLOADBOOKDETAIL_H
#define DOWNLOADBOOKDETAIL_H

#include <QMetaType>
#include <QString>

// One row of the download centre: what the screens show of a download task.
// The sizes are 32-bit because that is what the screens are handed; a total
// of 1 stands for "not known yet" so that progress never divides by zero.
class DownloadBookDetail
{
public:
    DownloadBookDetail() = default;
    DownloadBookDetail(const QString &bookImage, const QString &bookName, const QString &cid,
                       const QString &link, quint32 downloadedSize, quint32 totalSize,
                       quint32 state);

    QString BookImage;
    QString BookName;
    QString CID; // the task's package file name, the row's key
    QString Link;
    quint32 BookdownloadedSize = 0;
    quint32 BooktotalSize = 0;
    quint32 State = 0; // a DLFileInfo::State value
};

Q_DECLARE_METATYPE(DownloadBookDetail)

#endif // DOWNLOADBOOKDETAIL_H
