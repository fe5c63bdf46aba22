#ifndef LOADMANGER_H
#define LOADMANGER_H

#include "dlfileinfo.h"
#include "onlinewatcher.h"

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class DownLoadDataStore;
class HttpManger;
class MDLEObserver;

// The download scheduler: the task list (in creation order), at most one
// running transfer, the queue of waiting tasks and the task store. Every
// change of a task is written to the store and the whole list is told to
// the observer. There is one task per package file, and a transfer is held
// per task at most: the running one, or one that failed and waits to be
// paused, resumed or deleted.
class LoadManger : public QObject
{
    Q_OBJECT
public:
    // Opens the task store and loads the tasks kept from the last run.
    explicit LoadManger(MDLEObserver *observer, QObject *parent = nullptr);
    ~LoadManger() override;

    // The package file a download link fills: its "cid" value + ".vbp";
    // empty when that value could name anything outside the book folder.
    static QString fileNameOfUrl(const QString &url);
    // Whether folder holds a file (not a folder) named exactly name; never
    // for a name that would leave the folder.
    static bool fileInFolder(const QString &folder, const QString &name);

    // False, with nothing created or written, when the link names no usable
    // package file.
    bool newTask(const QString &url, const QString &bookName, const QString &picUrl);
    void pauseTask(const QString &fileName);
    void continueTask(const QString &fileName);
    void restartTask(const QString &fileName);
    void deleteTask(const QString &fileName);
    void AutomaticStartTask();
    void GetBookItem();
    void DeleteRecordList();
    // How many tasks of the list fill that package file.
    int FindDownlaodNumber(const QString &fileName) const;

    DownLoadDataStore &dataStore() const { return *m_pSql; }

signals:
    // Declared for listeners of the whole list; the scheduler tells its
    // observer instead.
    void downloadCompleteResponse(QList<DLFileInfo *> list);

public slots:
    void update(QString fileName);
    void updateTol(QString fileName);
    void onlineCheckResponce(bool online);

private slots:
    void updateValidator(QString fileName, QString validator);

private:
    enum Start
    {
        FromPartial,
        Resume,
        Again
    };

    void createTask(const QString &fileName, const QString &url, const QString &bookName,
                    const QString &picUrl);
    void startTransfer(DLFileInfo *task, Start how, bool tellTotal = false);
    // Starts the first waiting task when no transfer is held; true when it did.
    // The caller reports: a report here could take a task off the list that
    // the caller still uses.
    bool startNextWaiting();
    void complete(const QString &fileName);
    void dropTransfer(HttpManger *transfer);
    void dropAllTransfers();
    HttpManger *transferOf(const QString &fileName) const;
    DLFileInfo *taskNamed(const QString &fileName) const;
    bool otherDownloading(const QString &fileName) const;
    // Takes completed tasks off the list (their records stay); returns how
    // many tasks wait.
    int removeCompletedTasks();
    void report();

    // The task created last; only read while it is being created.
    DLFileInfo *m_FileInfo = nullptr;
    QList<HttpManger *> m_httArr;
    QList<DLFileInfo *> m_InfoArr;
    std::unique_ptr<DownLoadDataStore> m_pSql;
    MDLEObserver *m_pObserver;
    int downloadWaitingStateNumber = 0;
    OnlineWatcher onlineCheck;
};

#endif // LOADMANGER_H
