#ifndef DLMNGMODE_H
#define DLMNGMODE_H

#include "mdleobserver.h"
#include "requeststate.h"

#include <QString>
#include <QVariant>
#include <memory>

class DLFileInfo;
class DownLoadMng;
class LoadManger;

// Between the download front and the scheduler: turns the front's requests
// into scheduler calls and hands the scheduler's reports back to the front.
class DLMngMode : public MDLEObserver
{
public:
    // Creates the scheduler, which loads the tasks kept from the last run
    // and reports them at once.
    explicit DLMngMode(DownLoadMng *front);
    ~DLMngMode() override;

    // False when a new task's link names no usable package file.
    bool handleRequest(RequestState request, const QVariant &data, const QString &a,
                       const QString &b);

    void GetBookRecords();
    void DownloadRestartTask();
    void DeleteDownloadComplete();
    int SearchdownloadedExisted(const QString &fileName) const;
    bool GetDownloadedBookName(DLFileInfo &info, const QString &fileName) const;
    bool DeleteRecordByBookname(const QString &fileName);
    // Whether the task store keeps a task of that file name in any letter case.
    bool HasRecordIgnoringCase(const QString &fileName) const;

    void responseDLData(QList<DLFileInfo *> &list) override;

private:
    DownLoadMng *m_pDownLoadMng;
    std::unique_ptr<LoadManger> m_pLoadManger;
};

#endif // DLMNGMODE_H
