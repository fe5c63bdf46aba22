#include "purchasemanager.h"

#include "commondef.h"
#include "downloadmng.h"
#include "downloadtype.h"
#include "ebookreadernetmgr.h"
#include "smsbackendfactory.h"
#include "smssender.h"
#include "vorelebookdatabaseengine.h"

#include <QDir>
#include <QQmlContext>
#include <QQuickView>
#include <QStorageInfo>

namespace {
const char *const ContextName = "purchaseMgrModel";
// The free-space test asks about the file system of the user's documents.
constexpr RootedPath MyDocsFolder("/home/user/MyDocs/");

enum Status
{
    Downloading = 0,
    ChargeOffered = 1,
    PaymentOffered = 2,
    DownloadingAfterPayment = 3,
    Failed = 5
};
} // namespace

purchaseManager::purchaseManager(EBookReaderNetMgr &netMgr, DownLoadMng &downloadMgr,
                                 VorelEBookDatabaseEngine &dbEngine, QObject *parent)
    : purchaseManager(netMgr, downloadMgr, dbEngine, nullptr, parent)
{}

purchaseManager::purchaseManager(EBookReaderNetMgr &netMgr, DownLoadMng &downloadMgr,
                                 VorelEBookDatabaseEngine &dbEngine, SmsBackend *service,
                                 QObject *parent)
    : QObject(parent), m_dbEngine(dbEngine), m_netMgr(netMgr), m_downloadMgr(downloadMgr)
{
    // The back end found on this machine is looked for (on the system bus)
    // when the first payment SMS goes out, not at start-up; the gateway
    // configured at start-up is the one it then takes.
    if (service)
        useService(service);
    else
        m_gateway = SmsBackendFactory::gatewayUrl();
    connect(&m_netMgr, &EBookReaderNetMgr::downloadRequestResponse, this,
            &purchaseManager::getDownloadData);
    connect(&m_onlineCheck, &OnlineWatcher::onlineStateChanged, this,
            &purchaseManager::onlineCheckResponce);
}

purchaseManager::~purchaseManager()
{
    if (m_view)
        m_view->rootContext()->setContextProperty(QLatin1String(ContextName),
                                                  static_cast<QObject *>(nullptr));
}

void purchaseManager::setDeclarativeView(QQuickView &view)
{
    m_view = &view;
    view.rootContext()->setContextProperty(QLatin1String(ContextName), this);
}

void purchaseManager::purchaseDownloadBook(QString cid)
{
    m_downloadCid = cid;
    // A new order is never the continuation of an earlier payment, even when
    // that payment's continuation offered the charge again or failed.
    m_downloadStatus = false;
    m_netMgr.GetDownloadInfo(cid);
}

void purchaseManager::getDownloadData(Downloadtype *downloadData, int errorCode)
{
    m_errorCode = errorCode;
    if (errorCode != SERVER_OK) {
        emit downloadResponse(errorCode, Failed, QString());
        return;
    }
    if (!downloadData) {
        emit downloadResponse(SERVER_ERROR, Failed, QString());
        return;
    }
    // The record is the network manager's and goes when this slot returns:
    // only copies of its fields are kept.
    const Downloadtype &record = *downloadData;
    if (record.ret == QLatin1String("download")) {
        startDownload(record);
    } else if (record.ret == QLatin1String("chargedef")) {
        m_downloadUrl = record.itemUrl;
        m_downloadId = record.itemId;
        m_downloadSid = record.sid;
        setOffer(record);
        emit downloadResponse(SERVER_OK, ChargeOffered, record.itemText);
    } else if (record.ret == QLatin1String("pay")) {
        m_downloadSid = record.sid;
        setOffer(record);
        emit downloadResponse(SERVER_OK, PaymentOffered, record.text);
    }
}

void purchaseManager::startDownload(const Downloadtype &record)
{
    QString userId;
    m_netMgr.GetUserUid(userId);
    const bool afterPayment = m_downloadStatus;
    m_downloadStatus = false;
    // A link whose content id would name a file outside the book folder is
    // refused by the engine; the order fails instead of writing anywhere.
    if (!m_downloadMgr.NewDownloandTask(record.link, userId, m_downloadCid, record.content)) {
        emit downloadResponse(SERVER_ERROR, Failed, QString());
        return;
    }
    emit downloadResponse(SERVER_OK, afterPayment ? DownloadingAfterPayment : Downloading,
                          record.text);
}

void purchaseManager::setOffer(const Downloadtype &record)
{
    m_offerTitle = record.title;
    m_okText = record.okText;
    m_cancelText = record.cancelText;
    emit offerChanged();
}

int purchaseManager::chargedefDownload()
{
    // The sender runs a nested event loop: a second tap on "pay" arrives
    // while the first message is still on its way and must not send again.
    if (m_sending)
        return 0;
    m_emitFlag = 0;
    QString number;
    QString body;
    splitSmsUrl(m_downloadUrl, number, body);
    setSending(true);
    const bool sent = sendSMS(number, body);
    setSending(false);
    if (!sent) {
        emit downloadResponse(m_errorCode, Failed, QString());
        return 0;
    }
    m_downloadStatus = true;
    m_netMgr.GetDownloadInfoEx(m_downloadCid, m_downloadId, m_downloadSid);
    m_isMsgSendOK = false;
    return 1;
}

void purchaseManager::payDownloadFee()
{
    if (!m_onlineCheck.isOnline())
        return;
    m_downloadStatus = true;
    m_netMgr.GetDownloadInfoEx(m_downloadCid, QString(), m_downloadSid);
}

void purchaseManager::splitSmsUrl(const QString &url, QString &number, QString &body)
{
    const qsizetype colon = url.indexOf(QLatin1Char(':'), 4);
    number = colon < 6 ? url.mid(6) : url.mid(6, colon - 6);
    body = url.mid(colon + 1);
}

bool purchaseManager::sendSMS(const QString &number, const QString &body)
{
    if (!m_onlineCheck.isOnline())
        return false;
    if (!m_smssender)
        useService(SmsBackendFactory::create(m_gateway, this));
    return m_smssender->send(number, body) == SmsBackend::NoError;
}

void purchaseManager::useService(SmsBackend *service)
{
    m_service = service;
    m_service->setParent(this);
    m_manager = m_service;
    // The wait always has a limit: a message the network never confirms must
    // not hold the purchase screen forever.
    m_smssender = new SMSSender(m_service, SMSSender::Sent, SmsTimeoutMs, this);
}

void purchaseManager::setSending(bool sending)
{
    if (m_sending == sending)
        return;
    m_sending = sending;
    emit sendingChanged();
}

int purchaseManager::getDownloadedStatus(QString bookId, QString size)
{
    m_downloadMgr.IsExisted(bookId);
    const int copies = m_downloadMgr.GetDownLoadedNumber();
    if (m_downloadMgr.GetBookDownloadState(bookId))
        return 2;
    if (copies == 1)
        return 1;
    return checkSpaceIsAdequate(size.toLongLong()) ? 0 : 4;
}

bool purchaseManager::checkSpaceIsAdequate(qint64 aDownloadSize)
{
    // The documents folder may not be made yet: the file system that will
    // hold it is the one of its nearest existing parent.
    QDir folder(MyDocsFolder.path());
    while (!folder.exists() && folder.cdUp()) {
    }
    const QStorageInfo storage(folder);
    return storage.isValid() && aDownloadSize < storage.bytesAvailable();
}

bool purchaseManager::deleteBookMarkRelation(QString bookId)
{
    return m_dbEngine.deleteOneBookMarkRelation(bookId);
}

bool purchaseManager::deleteBookInfoFromDB(QString bookId)
{
    return m_dbEngine.DeleteEBookInfo(bookId);
}

void purchaseManager::onlineCheckResponce(bool checkFlag)
{
    // A continuation under way when the network went is then reported as a
    // plain download rather than one after payment.
    if (!checkFlag && m_emitFlag == 0)
        m_downloadStatus = false;
}

void purchaseManager::serviceStateChanged(SmsBackend::State state)
{
    if (m_service && m_service->error() == SmsBackend::NoError)
        m_isMsgSendOK = true;
    if (state == SmsBackend::CanceledState && m_emitFlag == 0)
        emit downloadResponse(SERVER_OK, Failed, QString());
}
