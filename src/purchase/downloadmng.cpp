#include "downloadmng.h"

#include "commondef.h"
#include "deviceinfo.h"
#include "dlfileinfo.h"
#include "dlmngmode.h"
#include "downloadcentermodel.h"
#include "loadmanger.h"
#include "urlmaker.h"

#include <QQmlContext>
#include <QQuickView>

namespace {

const char *const ModelName = "downloadItemModel";
const char *const EngineName = "downloadMgr";
// The cover of a downloaded book is asked for at this resolution.
const char *const DownloadCoverResolution = "360_640";

} // namespace

DownLoadMng::DownLoadMng(QObject *parent)
    : QObject(parent), downloadCentureMode(std::make_unique<DownloadCenterModel>())
{
    mode = std::make_unique<DLMngMode>(this);
}

DownLoadMng::~DownLoadMng()
{
    if (m_view) {
        QQmlContext *context = m_view->rootContext();
        context->setContextProperty(QLatin1String(ModelName), nullptr);
        context->setContextProperty(QLatin1String(EngineName), nullptr);
    }
    // The scheduler goes first: its last reports still reach the model.
    mode.reset();
}

void DownLoadMng::ReStartTask(QString cid, QString downloadLink)
{
    Q_UNUSED(downloadLink)
    handleRequest(ERequ_DLResume, cid);
}

void DownLoadMng::PauseTask(QString cid, QString downloadLink)
{
    Q_UNUSED(cid)
    handleRequest(ERequ_DLPause, downloadLink);
}

void DownLoadMng::RemoveTask(QString cid, QString downloadLink)
{
    Q_UNUSED(downloadLink)
    handleRequest(ERequ_DLDelete, cid);
}

void DownLoadMng::AutomaticDownloadTask()
{
    mode->DownloadRestartTask();
}

bool DownLoadMng::NewDownloandTask(QString link, QString userId, QString cid, QString bookName)
{
    if (LoadManger::fileNameOfUrl(link).isEmpty())
        return false;
    UrlMaker cover(RequestCover);
    cover.coverReqAssemble(cid, QLatin1String(DownloadCoverResolution),
                           QLatin1String(Pic_Size_44_63), DeviceInfo::productName(),
                           QLatin1String(Chinese), QLatin1String(Channel), userId,
                           QLatin1String(Version), DeviceInfo::imei());
    return handleRequest(ERequ_DLStart, link, bookName, cover.getUrl());
}

void DownLoadMng::IsExisted(QString bookId)
{
    m_downLoadedNumber = 0;
    const QString fileName = bookId + QLatin1String(".vbp");
    const bool downloaded =
        LoadManger::fileInFolder(BookFolder, fileName) && mode->HasRecordIgnoringCase(fileName);
    if (downloaded || LoadManger::fileInFolder(UserBookFolder, fileName) ||
        LoadManger::fileInFolder(PreInstallBookFolder, fileName))
        m_downLoadedNumber = 1;
}

int DownLoadMng::GetDownLoadedNumber()
{
    return m_downLoadedNumber;
}

bool DownLoadMng::GetBookDownloadState(QString bookId)
{
    return mode->SearchdownloadedExisted(bookId + QLatin1String(".vbp")) > 0;
}

void DownLoadMng::setDeclarativeView(QQuickView &view)
{
    m_view = &view;
    QQmlContext *context = view.rootContext();
    context->setContextProperty(QLatin1String(ModelName), downloadCentureMode.get());
    context->setContextProperty(QLatin1String(EngineName), this);
}

DownloadCenterModel *DownLoadMng::centerModel() const
{
    return downloadCentureMode.get();
}

bool DownLoadMng::handleRequest(RequestState request, QVariant data, QString a, QString b)
{
    return mode->handleRequest(request, data, a, b);
}

void DownLoadMng::SetDownloadData(QList<DLFileInfo *> &list)
{
    QList<QPair<QString, QString>> finished;
    int downloading = 0;
    for (qsizetype i = 0; i < list.size();) {
        DLFileInfo *task = list.at(i);
        m_downloadState = task->m_state;
        if (task->m_state == DLFileInfo::EDownLoading)
            ++downloading;
        showTask(*task, downloading);
        if (task->m_state != DLFileInfo::EComplete) {
            ++i;
            continue;
        }
        finished.append({task->m_fileName, task->m_filePath});
        delete list.takeAt(i);
    }
    // Told once the list is settled: a listener may well order the next book.
    for (const auto &package : std::as_const(finished))
        emit downloadFinishedResponse(package.first, package.second);
}

// Rows are found by the task's file name, never by position: the list and
// the rows part ways whenever a task leaves the list.
void DownLoadMng::showTask(const DLFileInfo &task, int downloading)
{
    DownloadCenterModel &model = *downloadCentureMode;
    if (task.m_state != DLFileInfo::EFailed && task.m_state != DLFileInfo::ENone)
        model.setDownloadingBookNum(downloading);
    // The screens divide by the total: an unknown size is shown as 1.
    const qint64 total = task.m_totalSize == 0 ? 1 : task.m_totalSize;
    const int row = model.rowOfCID(task.m_fileName);
    if (row < 0) {
        model.appandItem(DownloadBookDetail(task.m_picPath, task.m_bookName, task.m_fileName,
                                            task.m_url, quint32(task.m_currentSize), quint32(total),
                                            quint32(task.m_state)));
    } else {
        model.setCurrentData(row, int(quint32(task.m_currentSize)));
        model.setStateData(row, int(task.m_state));
        model.setTotalData(row, int(quint32(total)));
    }
    if (task.m_state == DLFileInfo::EComplete || task.m_state == DLFileInfo::EDelete)
        model.deleteItem(model.rowOfCID(task.m_fileName));
}
