#ifndef DOWNLOADMNG_H
#define DOWNLOADMNG_H

#include "requeststate.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <memory>

class DLFileInfo;
class DLMngMode;
class DownloadCenterModel;
class QQuickView;

// The download engine as the screens and the purchase manager see it: new
// tasks, pause, resume, delete and automatic start; the download centre
// model kept in step with the tasks; downloadFinishedResponse when a package
// is in place.
class DownLoadMng : public QObject
{
    Q_OBJECT
public:
    // Loads the tasks kept from the last run into the download centre;
    // nothing starts until AutomaticDownloadTask or the network coming back.
    explicit DownLoadMng(QObject *parent = nullptr);
    ~DownLoadMng() override;

    // cid is the task's package file name (the download centre's "cid").
    Q_INVOKABLE void ReStartTask(QString cid, QString downloadLink);
    Q_INVOKABLE void PauseTask(QString cid, QString downloadLink);
    Q_INVOKABLE void RemoveTask(QString cid, QString downloadLink);
    Q_INVOKABLE void AutomaticDownloadTask();

    // False, with nothing created or written, when the link's "cid" is
    // unusable as a file name.
    bool NewDownloandTask(QString link, QString userId, QString cid, QString bookName);
    // Whether the book is on the device already; read by GetDownLoadedNumber.
    void IsExisted(QString bookId);
    int GetDownLoadedNumber();
    bool GetBookDownloadState(QString bookId);

    void setDeclarativeView(QQuickView &view);
    DownloadCenterModel *centerModel() const;

    bool handleRequest(RequestState request, QVariant data, QString a = QString(),
                       QString b = QString());
    // Brings the download centre in step with the scheduler's task list and
    // takes completed tasks off it.
    void SetDownloadData(QList<DLFileInfo *> &list);

signals:
    void downloadFinishedResponse(QString cid, QString bookStorePath);

private:
    void showTask(const DLFileInfo &task, int downloading);

    std::unique_ptr<DownloadCenterModel> downloadCentureMode;
    std::unique_ptr<DLMngMode> mode;
    int m_downLoadedNumber = 0;
    int m_downloadState = 0;
    int m_cid = 0;
    int m_deleteFlag = 0;
    int m_preInstallFlag = 0;
    QPointer<QQuickView> m_view;
};

#endif // DOWNLOADMNG_H
