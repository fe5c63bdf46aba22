#include "dlmngmode.h"

#include "downloaddatastore.h"
#include "downloadmng.h"
#include "loadmanger.h"

#include <algorithm>

DLMngMode::DLMngMode(DownLoadMng *front) : m_pDownLoadMng(front)
{
    m_pLoadManger = std::make_unique<LoadManger>(this);
}

DLMngMode::~DLMngMode() = default;

bool DLMngMode::handleRequest(RequestState request, const QVariant &data, const QString &a,
                              const QString &b)
{
    switch (request) {
    case ERequ_DLStart:
        return m_pLoadManger->newTask(data.toString(), a, b);
    case ERequ_DLPause:
        m_pLoadManger->pauseTask(LoadManger::fileNameOfUrl(data.toString()));
        return true;
    case ERequ_DLDelete:
        m_pLoadManger->deleteTask(data.toString());
        return true;
    case ERequ_DLResume:
        m_pLoadManger->continueTask(data.toString());
        return true;
    default:
        return true;
    }
}

void DLMngMode::GetBookRecords()
{
    m_pLoadManger->GetBookItem();
}

void DLMngMode::DownloadRestartTask()
{
    m_pLoadManger->AutomaticStartTask();
}

void DLMngMode::DeleteDownloadComplete()
{
    m_pLoadManger->DeleteRecordList();
}

int DLMngMode::SearchdownloadedExisted(const QString &fileName) const
{
    return m_pLoadManger->FindDownlaodNumber(fileName);
}

bool DLMngMode::GetDownloadedBookName(DLFileInfo &info, const QString &fileName) const
{
    return m_pLoadManger->dataStore().getRecordByFileName(info, fileName);
}

bool DLMngMode::DeleteRecordByBookname(const QString &fileName)
{
    return m_pLoadManger->dataStore().delRecord(fileName);
}

bool DLMngMode::HasRecordIgnoringCase(const QString &fileName) const
{
    QList<DLFileInfo *> records;
    m_pLoadManger->dataStore().getAllRecords(records);
    const bool found = std::any_of(records.cbegin(), records.cend(), [&fileName](DLFileInfo *r) {
        return r->m_fileName.compare(fileName, Qt::CaseInsensitive) == 0;
    });
    qDeleteAll(records);
    return found;
}

void DLMngMode::responseDLData(QList<DLFileInfo *> &list)
{
    m_pDownLoadMng->SetDownloadData(list);
}
