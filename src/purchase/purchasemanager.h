#ifndef PURCHASEMANAGER_H
#define PURCHASEMANAGER_H

#include "onlinewatcher.h"
#include "smsbackend.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class DownLoadMng;
class Downloadtype;
class EBookReaderNetMgr;
class QQuickView;
class SMSSender;
class VorelEBookDatabaseEngine;

// Runs the purchase of one book at a time: asks the store for a download
// order, tells the screens what the store answered (a free download, a charge
// paid by premium SMS, or a payment to confirm), pays when the user agrees,
// continues the order and hands the package link to the download engine.
// Registered for the screens as "purchaseMgrModel".
//
// downloadResponse(errorCode, status, text) statuses: 0 a download task was
// made, 1 a charge is offered, 2 a payment is to be confirmed, 3 a download
// task was made after a payment step, 5 the step failed (errorCode says why).
class purchaseManager : public QObject
{
    Q_OBJECT
    // The last charge or payment offer's heading and button captions, so the
    // screens can show the store's own words.
    Q_PROPERTY(QString offerTitle READ offerTitle NOTIFY offerChanged)
    Q_PROPERTY(QString okText READ okText NOTIFY offerChanged)
    Q_PROPERTY(QString cancelText READ cancelText NOTIFY offerChanged)
    // True while the payment SMS is on its way; no second payment starts then.
    Q_PROPERTY(bool sending READ isSending NOTIFY sendingChanged)

public:
    // How long the payment SMS may take before the purchase counts as failed.
    static constexpr unsigned int SmsTimeoutMs = 60000;

    purchaseManager(EBookReaderNetMgr &netMgr, DownLoadMng &downloadMgr,
                    VorelEBookDatabaseEngine &dbEngine, QObject *parent = nullptr);
    // Takes a back end of the caller's choice instead of the one found on
    // this machine; the manager owns it.
    purchaseManager(EBookReaderNetMgr &netMgr, DownLoadMng &downloadMgr,
                    VorelEBookDatabaseEngine &dbEngine, SmsBackend *service, QObject *parent);
    ~purchaseManager() override;

    void setDeclarativeView(QQuickView &view);

    Q_INVOKABLE void purchaseDownloadBook(QString cid);
    Q_INVOKABLE int chargedefDownload();
    Q_INVOKABLE void payDownloadFee();
    Q_INVOKABLE int getDownloadedStatus(QString bookId, QString size);
    Q_INVOKABLE bool checkSpaceIsAdequate(qint64 aDownloadSize);
    Q_INVOKABLE bool deleteBookMarkRelation(QString bookId);
    Q_INVOKABLE bool deleteBookInfoFromDB(QString bookId);

    QString offerTitle() const { return m_offerTitle; }
    QString okText() const { return m_okText; }
    QString cancelText() const { return m_cancelText; }
    bool isSending() const { return m_sending; }

    // The destination number and message body of a charge's "url" text: six
    // characters of prefix, the number, ":", the body.
    static void splitSmsUrl(const QString &url, QString &number, QString &body);

signals:
    void downloadResponse(int errorCode, int status, QString text);
    void sendMessageFinish(int errCode);
    void offerChanged();
    void sendingChanged();

public slots:
    void getDownloadData(Downloadtype *downloadData, int errorCode);
    void onlineCheckResponce(bool checkFlag);
    void serviceStateChanged(SmsBackend::State state);

private:
    bool sendSMS(const QString &number, const QString &body);
    // Takes service (owned from now on) for the payment SMS.
    void useService(SmsBackend *service);
    void setOffer(const Downloadtype &record);
    void setSending(bool sending);
    void startDownload(const Downloadtype &record);

    SmsBackend *m_service = nullptr;
    VorelEBookDatabaseEngine &m_dbEngine;
    EBookReaderNetMgr &m_netMgr;
    DownLoadMng &m_downloadMgr;
    QString m_downloadCid;
    QString m_downloadSid;
    QString m_downloadId;
    QString m_downloadUrl;
    bool m_downloadStatus = false;
    int m_emitFlag = -1;
    int m_errorCode = 0;
    OnlineWatcher m_onlineCheck;
    bool m_isMsgSendOK = false;
    // One back end plays both the messaging service and the message store.
    SmsBackend *m_manager = nullptr;
    SMSSender *m_smssender = nullptr;
    // The HTTP gateway for a back end made on first use.
    QUrl m_gateway;
    QPointer<QQuickView> m_view;

    QString m_offerTitle;
    QString m_okText;
    QString m_cancelText;
    bool m_sending = false;
};

#endif // PURCHASEMANAGER_H
