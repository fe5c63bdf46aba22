// The purchase engine against the real store server where the screens'
// journeys do not reach: a declined charge, a lost payment message, and a
// free book after a paid one and after a lost one on the same manager.

#include "bookpacker.h"
#include "commondef.h"
#include "downloadmng.h"
#include "ebookreadernetmgr.h"
#include "mybookshelf.h"
#include "purchasemanager.h"
#include "storeserverprocess.h"
#include "testdataroot.h"
#include "vebookreader.h"
#include "vorelebookdatabaseengine.h"
#include "vorelebookshelfmgr.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {
const int Patience = 30000;

int gatewayMessages(const QString &logFile)
{
    QFile log(logFile);
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    return int(log.readAll().count("POST /sms/send "));
}
} // namespace

class TstPurchaseFlow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_root.renew());
        const QString books = m_root.filePath("store-books");
        QVERIFY(QDir().mkpath(books));
        for (const char *id :
             {"pf.free", "pf.sms", "pf.sms.declined", "pf.sms.lost", "pf.free.after.lost"}) {
            BookSource source;
            source.id = id;
            source.title = QStringLiteral("测试书 %1").arg(id);
            source.chapters = {{"第一章", "第一章的正文。"}, {"第二章", "第二章的正文。"}};
            QString error;
            QVERIFY2(BookPacker(source).writeTo(books + '/' + id + ".vbp", &error),
                     qPrintable(error));
        }
        m_store.setDataRoot(m_root.filePath("store-root"));
        m_store.setLogFile(m_root.filePath("store.log"));
        QString started =
            m_store.start(books, {"--price", "pf.sms=sms", "--price", "pf.sms.declined=sms",
                                  "--price", "pf.sms.lost=sms"});
        QVERIFY2(started.isEmpty(), qPrintable(started));
        // A carrier that delivers the message somewhere else: another store
        // whose gateway accepts it without paying this store's order.
        m_lossyCarrier.setDataRoot(m_root.filePath("carrier-root"));
        m_lossyCarrier.setLogFile(m_root.filePath("carrier.log"));
        started = m_lossyCarrier.start(books);
        QVERIFY2(started.isEmpty(), qPrintable(started));
        qputenv("ZARVOREADER_STORE", m_store.hostPort().toUtf8());

        m_db = std::make_unique<VorelEBookDatabaseEngine>();
        m_reader = std::make_unique<VEBookReader>();
        VorelEBookDatabaseEngine *db = m_db.get();
        m_reader->SetDBEngine(db);
        m_shelfMgr = std::make_unique<VorelEBookShelfMgr>();
        // The shelf is what files a finished download as a book.
        m_shelf = std::make_unique<MyBookShelf>(*m_shelfMgr, *m_reader);
        m_net = std::make_unique<EBookReaderNetMgr>();
        m_downloads = std::make_unique<DownLoadMng>();
        m_shelfMgr->setDownloadManager(m_downloads.get());
        qunsetenv("ZARVOREADER_SMS_GATEWAY");
        m_purchase = std::make_unique<purchaseManager>(*m_net, *m_downloads, *m_db);

        // The store hands out the user id with the store front.
        QSignalSpy front(m_net.get(), &EBookReaderNetMgr::onlineBookRequestResponse);
        m_net->GetOnlineBookInfo(QLatin1String(NOVEL), true);
        QVERIFY(front.wait(Patience));
        QVERIFY(!gloabal_UID.isEmpty());
    }

    void cleanupTestCase()
    {
        m_lossy.reset();
        m_purchase.reset();
        m_downloads.reset();
        m_store.stop();
        m_lossyCarrier.stop();
    }

    void journey_data()
    {
        QTest::addColumn<QString>("bookId");
        QTest::addColumn<bool>("lossyCarrier");
        QTest::addColumn<bool>("decline");
        QTest::addColumn<QList<int>>("statuses");
        QTest::addColumn<int>("messages");
        QTest::addColumn<bool>("onShelf");

        // One purchase manager serves the rows in order, so a free book after a
        // paid one must be reported as a plain download again.
        QTest::newRow("sms charge paid")
            << "pf.sms" << false << false << QList<int>{1, 3} << 1 << true;
        QTest::newRow("free after paid")
            << "pf.free" << false << false << QList<int>{0} << 0 << true;
        QTest::newRow("charge declined: nothing sent")
            << "pf.sms.declined" << false << true << QList<int>{1} << 0 << false;
        QTest::newRow("message lost: the continuation offers the charge again")
            << "pf.sms.lost" << true << false << QList<int>{1, 1} << 1 << false;
        QTest::newRow("free after lost")
            << "pf.free.after.lost" << true << false << QList<int>{0} << 0 << true;
    }

    void journey()
    {
        QFETCH(QString, bookId);
        QFETCH(bool, lossyCarrier);
        QFETCH(bool, decline);
        QFETCH(QList<int>, statuses);
        QFETCH(int, messages);
        QFETCH(bool, onShelf);

        const QString carrierLog = lossyCarrier ? "carrier.log" : "store.log";
        if (lossyCarrier && !m_lossy) {
            // The back end is chosen when the manager is made; the lossy rows
            // come last and share it.
            qputenv("ZARVOREADER_SMS_GATEWAY",
                    QString("http://%1/sms/send").arg(m_lossyCarrier.hostPort()).toUtf8());
            m_lossy = std::make_unique<purchaseManager>(*m_net, *m_downloads, *m_db);
            qunsetenv("ZARVOREADER_SMS_GATEWAY");
            m_net->disconnect(m_purchase.get());
        }
        purchaseManager &purchase = lossyCarrier ? *m_lossy : *m_purchase;
        const int sentBefore = gatewayMessages(m_root.filePath(carrierLog));

        QList<int> seen;
        // Goes with this row, whichever way the row ends.
        QObject rowScope;
        connect(&purchase, &purchaseManager::downloadResponse, &rowScope,
                [&](int, int status, const QString &) {
                    seen << status;
                    // Stop once the expected steps are through, as a user
                    // who walks away would.
                    if (seen.size() >= statuses.size() || decline)
                        return;
                    // The screens act after the answer's dialog, not inside it.
                    if (status == 1)
                        QMetaObject::invokeMethod(&purchase, "chargedefDownload",
                                                  Qt::QueuedConnection);
                });

        QCOMPARE(purchase.getDownloadedStatus(bookId, "1000"), 0);
        purchase.purchaseDownloadBook(bookId);
        QTRY_VERIFY_WITH_TIMEOUT(seen.size() >= statuses.size(), Patience);
        QCOMPARE(seen, statuses);
        QVERIFY(!purchase.isSending());
        QCOMPARE(gatewayMessages(m_root.filePath(carrierLog)) - sentBefore, messages);

        if (!onShelf) {
            QVERIFY(!m_downloads->GetBookDownloadState(bookId));
            QVERIFY(!m_shelfMgr->isBookIdExisted(bookId));
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(m_shelfMgr->isBookIdExisted(bookId), Patience);
        // Bought once: the next question finds it on the device.
        QCOMPARE(purchase.getDownloadedStatus(bookId, "1000"), 1);
    }

private:
    TestDataRoot m_root;
    StoreServerProcess m_store;
    StoreServerProcess m_lossyCarrier;
    std::unique_ptr<VorelEBookDatabaseEngine> m_db;
    std::unique_ptr<VEBookReader> m_reader;
    std::unique_ptr<VorelEBookShelfMgr> m_shelfMgr;
    std::unique_ptr<MyBookShelf> m_shelf;
    std::unique_ptr<EBookReaderNetMgr> m_net;
    std::unique_ptr<DownLoadMng> m_downloads;
    std::unique_ptr<purchaseManager> m_purchase;
    std::unique_ptr<purchaseManager> m_lossy;
};

QTEST_GUILESS_MAIN(TstPurchaseFlow)
#include "tst_purchaseflow.moc"
