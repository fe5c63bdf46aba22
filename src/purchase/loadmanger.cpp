#include "loadmanger.h"

#include "commondef.h"
#include "downloaddatastore.h"
#include "httpmanger.h"
#include "mdleobserver.h"
#include "vbpreader.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>

LoadManger::LoadManger(MDLEObserver *observer, QObject *parent)
    : QObject(parent), m_pSql(std::make_unique<DownLoadDataStore>()), m_pObserver(observer)
{
    m_pSql->createConnection(QStringLiteral("QSQLITE"), QStringLiteral("downLoadStore.db"));
    connect(&onlineCheck, &OnlineWatcher::onlineStateChanged, this,
            &LoadManger::onlineCheckResponce);
    GetBookItem();
}

LoadManger::~LoadManger()
{
    dropAllTransfers();
    qDeleteAll(m_InfoArr);
    m_pSql->closeDataBase();
}

QString LoadManger::fileNameOfUrl(const QString &url)
{
    const QUrlQuery query(QUrl(url, QUrl::TolerantMode));
    const QString cid = query.queryItemValue(QStringLiteral("cid"), QUrl::FullyDecoded);
    if (!VbpReader::isSafeFileName(cid))
        return QString();
    return cid + QLatin1String(".vbp");
}

bool LoadManger::fileInFolder(const QString &folder, const QString &name)
{
    return VbpReader::isSafeFileName(name) && QFileInfo(folder + QLatin1Char('/') + name).isFile();
}

bool LoadManger::newTask(const QString &url, const QString &bookName, const QString &picUrl)
{
    const QString fileName = fileNameOfUrl(url);
    if (fileName.isEmpty())
        return false;
    downloadWaitingStateNumber = removeCompletedTasks();
    // One task per package file: a new order for a book that already has a
    // task goes on with it rather than starting a second transfer into the
    // same partial file.
    if (taskNamed(fileName)) {
        continueTask(fileName);
        return true;
    }
    const bool partial = fileInFolder(BookFolder, fileName + QLatin1String("temp"));
    if (partial || m_pSql->isExist(fileName)) {
        if (fileInFolder(BookFolder, fileName) &&
            m_pSql->getStateByFileName(fileName) == DLFileInfo::EComplete) {
            // Downloaded before: the same task fetches it again.
            auto *task = new DLFileInfo;
            m_pSql->getRecordByFileName(*task, fileName);
            m_InfoArr.append(task);
            restartTask(fileName);
            return true;
        }
        m_pSql->delRecord(fileName);
    }
    createTask(fileName, url, bookName, picUrl);
    return true;
}

void LoadManger::createTask(const QString &fileName, const QString &url, const QString &bookName,
                            const QString &picUrl)
{
    const bool idle = m_httArr.isEmpty() && downloadWaitingStateNumber == 0;
    auto *task =
        new DLFileInfo(fileName, url, QStringLiteral("vbp"), 0, 0, BookFolder,
                       idle ? DLFileInfo::EDownLoading : DLFileInfo::EWaiting, bookName, picUrl);
    m_InfoArr.append(task);
    m_FileInfo = task;
    m_pSql->addRecord(*task);
    report();
    if (idle)
        startTransfer(task, FromPartial, true);
    else if (startNextWaiting())
        report();
}

void LoadManger::pauseTask(const QString &fileName)
{
    DLFileInfo *task = taskNamed(fileName);
    if (task) {
        task->m_state = DLFileInfo::EPause;
        // Stored at once, so a paused task that was waiting stays paused
        // after a restart.
        m_pSql->upDateRecord(fileName, int(DLFileInfo::EPause));
        report();
    }
    if (HttpManger *transfer = transferOf(fileName)) {
        dropTransfer(transfer);
        report();
    }
    if (startNextWaiting())
        report();
}

void LoadManger::continueTask(const QString &fileName)
{
    HttpManger *held = transferOf(fileName);
    // Resuming a transfer that runs would only fetch the same bytes again.
    if (held && held->fileInfo()->m_state == DLFileInfo::EDownLoading)
        return;
    if (held)
        dropTransfer(held);
    removeCompletedTasks();
    DLFileInfo *task = taskNamed(fileName);
    if (!task)
        return;
    if (!otherDownloading(fileName)) {
        startTransfer(task, Resume);
    } else if (task->m_state != DLFileInfo::EDownLoading) {
        task->m_state = DLFileInfo::EWaiting;
        m_pSql->upDateRecord(fileName, int(DLFileInfo::EWaiting));
    }
    report();
}

void LoadManger::restartTask(const QString &fileName)
{
    if (!m_pSql->isExist(fileName))
        return;
    if (m_pSql->getStateByFileName(fileName) == DLFileInfo::EDownLoading) {
        if (HttpManger *transfer = transferOf(fileName))
            dropTransfer(transfer);
    }
    DLFileInfo *task = taskNamed(fileName);
    if (!task)
        return;
    task->m_currentSize = 0;
    if (otherDownloading(fileName)) {
        // Waits its turn with an empty partial file; the package downloaded
        // before stays until the new one replaces it.
        QFile::remove(HttpManger::partialPath(fileName));
        task->m_state = DLFileInfo::EWaiting;
        m_pSql->upDateRecord(*task);
    } else {
        startTransfer(task, Again);
    }
    report();
}

void LoadManger::deleteTask(const QString &fileName)
{
    DLFileInfo *task = taskNamed(fileName);
    if (!task) {
        if (startNextWaiting())
            report();
        return;
    }
    if (HttpManger *transfer = transferOf(fileName))
        dropTransfer(transfer);
    task->m_state = DLFileInfo::EDelete;
    report();
    QFile::remove(HttpManger::partialPath(fileName));
    m_InfoArr.removeOne(task);
    if (m_FileInfo == task)
        m_FileInfo = nullptr;
    delete task;
    m_pSql->delRecord(fileName);
    if (startNextWaiting())
        report();
}

void LoadManger::AutomaticStartTask()
{
    // A transfer that failed is held only so its task is not started twice;
    // held for good it would keep every other download waiting until the
    // user acts. The automatic start lets it go and takes its task again.
    for (HttpManger *transfer : QList<HttpManger *>(m_httArr)) {
        if (transfer->fileInfo()->m_state == DLFileInfo::EFailed)
            dropTransfer(transfer);
    }
    if (!m_httArr.isEmpty())
        return;
    for (DLFileInfo *task : std::as_const(m_InfoArr)) {
        if (task->m_state == DLFileInfo::EFailed)
            task->m_state = DLFileInfo::EWaiting;
        if (task->m_state == DLFileInfo::EWaiting) {
            startTransfer(task, FromPartial);
            report();
            return;
        }
    }
}

void LoadManger::GetBookItem()
{
    dropAllTransfers();
    qDeleteAll(m_InfoArr);
    m_InfoArr.clear();
    m_FileInfo = nullptr;
    m_pSql->getAllRecords(m_InfoArr);
    // A task cut off by the end of the last run goes on from its partial
    // file; without one there is nothing to go on from. Not written back.
    for (qsizetype i = m_InfoArr.size() - 1; i >= 0; --i) {
        DLFileInfo *task = m_InfoArr.at(i);
        // A record naming a file outside the book folder is not one of ours.
        if (!VbpReader::isSafeFileName(task->m_fileName)) {
            delete m_InfoArr.takeAt(i);
            continue;
        }
        if (task->m_state == DLFileInfo::EFailed || task->m_state == DLFileInfo::EDownLoading) {
            const bool partial = fileInFolder(BookFolder, task->m_fileName + QLatin1String("temp"));
            task->m_state = partial ? DLFileInfo::EWaiting : DLFileInfo::EComplete;
        }
        if (task->m_state == DLFileInfo::EComplete)
            delete m_InfoArr.takeAt(i);
    }
    report();
}

void LoadManger::DeleteRecordList()
{
    removeCompletedTasks();
}

int LoadManger::FindDownlaodNumber(const QString &fileName) const
{
    return int(std::count_if(m_InfoArr.cbegin(), m_InfoArr.cend(), [&fileName](DLFileInfo *task) {
        return task->m_fileName == fileName;
    }));
}

void LoadManger::update(QString fileName)
{
    if (DLFileInfo *task = taskNamed(fileName)) {
        if (task->m_state == DLFileInfo::EComplete)
            complete(fileName);
        m_pSql->upDateRecord(*task);
    }
    report();
}

void LoadManger::updateTol(QString fileName)
{
    for (DLFileInfo *task : std::as_const(m_InfoArr)) {
        if (task->m_fileName == fileName)
            m_pSql->upDateRecord(*task);
    }
    report();
}

void LoadManger::updateValidator(QString fileName, QString validator)
{
    m_pSql->setValidator(fileName, validator);
}

void LoadManger::onlineCheckResponce(bool online)
{
    if (online) {
        AutomaticStartTask();
        return;
    }
    dropAllTransfers();
    // By position: each report may take completed tasks off the list.
    for (qsizetype i = 0; i < m_InfoArr.size(); ++i) {
        DLFileInfo *task = m_InfoArr.at(i);
        if (task->m_state != DLFileInfo::EDownLoading && task->m_state != DLFileInfo::EFailed)
            continue;
        task->m_state = DLFileInfo::EWaiting;
        m_pSql->upDateRecord(task->m_fileName, int(DLFileInfo::EWaiting));
        report();
    }
}

void LoadManger::startTransfer(DLFileInfo *task, Start how, bool tellTotal)
{
    task->m_state = DLFileInfo::EDownLoading;
    auto *transfer = new HttpManger(task, this);
    connect(transfer, &HttpManger::UpDate, this, &LoadManger::update);
    if (tellTotal)
        connect(transfer, &HttpManger::UpDateTotalSize, this, &LoadManger::updateTol);
    connect(transfer, &HttpManger::UpDateValidator, this, &LoadManger::updateValidator);
    transfer->setValidator(m_pSql->validator(task->m_fileName));
    m_httArr.append(transfer);
    switch (how) {
    case FromPartial:
        transfer->NewTask();
        break;
    case Resume:
        transfer->ContinueTask();
        break;
    case Again:
        transfer->ReTask();
        break;
    }
    m_pSql->upDateRecord(*task);
}

bool LoadManger::startNextWaiting()
{
    if (!m_httArr.isEmpty())
        return false;
    for (DLFileInfo *task : std::as_const(m_InfoArr)) {
        if (task->m_state == DLFileInfo::EWaiting) {
            startTransfer(task, FromPartial);
            return true;
        }
    }
    return false;
}

void LoadManger::complete(const QString &fileName)
{
    if (HttpManger *transfer = transferOf(fileName))
        dropTransfer(transfer);
    startNextWaiting();
}

// The transfer goes quiet at once and is deleted once the signal it may be
// delivering has returned.
void LoadManger::dropTransfer(HttpManger *transfer)
{
    m_httArr.removeOne(transfer);
    disconnect(transfer, nullptr, this, nullptr);
    transfer->CloseTempFile();
    transfer->deleteLater();
}

void LoadManger::dropAllTransfers()
{
    while (!m_httArr.isEmpty())
        dropTransfer(m_httArr.constLast());
}

HttpManger *LoadManger::transferOf(const QString &fileName) const
{
    for (HttpManger *transfer : m_httArr) {
        if (transfer->fileInfo()->m_fileName == fileName)
            return transfer;
    }
    return nullptr;
}

DLFileInfo *LoadManger::taskNamed(const QString &fileName) const
{
    for (DLFileInfo *task : m_InfoArr) {
        if (task->m_fileName == fileName)
            return task;
    }
    return nullptr;
}

bool LoadManger::otherDownloading(const QString &fileName) const
{
    return std::any_of(m_InfoArr.cbegin(), m_InfoArr.cend(), [&fileName](DLFileInfo *task) {
        return task->m_state == DLFileInfo::EDownLoading && task->m_fileName != fileName;
    });
}

int LoadManger::removeCompletedTasks()
{
    int waiting = 0;
    for (qsizetype i = m_InfoArr.size() - 1; i >= 0; --i) {
        DLFileInfo *task = m_InfoArr.at(i);
        if (task->m_state == DLFileInfo::EWaiting)
            ++waiting;
        if (task->m_state != DLFileInfo::EComplete)
            continue;
        if (m_FileInfo == task)
            m_FileInfo = nullptr;
        delete m_InfoArr.takeAt(i);
    }
    return waiting;
}

void LoadManger::report()
{
    if (m_pObserver)
        m_pObserver->responseDLData(m_InfoArr);
    // The observer deletes the tasks it saw complete.
    if (!m_InfoArr.contains(m_FileInfo))
        m_FileInfo = nullptr;
}
