// Buying and downloading as a reader does it: the real application, its
// screens offscreen and the store server (also the carrier taking the payment
// SMS) behind a link as slow as a handset's.

#include "accessibilitywalk.h"
#include "bookpacker.h"
#include "commondef.h"
#include "ebookreaderapp.h"
#include "loopbackport.h"
#include "purchasemanager.h"
#include "screendriver.h"
#include "slowlink.h"
#include "storeserverprocess.h"
#include "testdataroot.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QGuiApplication>
#include <QQmlContext>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// Large enough that the download, at the slow link's pace, reports progress
// several times on its way.
const QString LongBook = "dl-long";
const QString LongTitle = "长夜行记";
// Priced books share a title, so one check reads the offer of either.
const QString SmsBook = "sms-one";
const QString AccountBook = "acct-one";
const QString PaidTitle = "晨光小集";
const QString SmsBookUnsent = "sms-two";
const int Patience = 30000;

BookSource source(const QString &id, const QString &title, int chapters, int charsPerChapter)
{
    BookSource book{id, title, "测试作者", "测试出版社", "《" + title + "》是一本测试用书。", {}};
    for (int i = 1; i <= chapters; ++i) {
        const QString line = QString("第%1章的正文，").arg(i);
        QString text = line.repeated(charsPerChapter / int(line.size()) + 1);
        text.truncate(charsPerChapter);
        book.chapters.append({QString("第%1章").arg(i), text});
    }
    return book;
}

} // namespace

class TstPurchaseScreens : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_books = m_dir.filePath("books");
        QVERIFY(QDir().mkpath(m_books));
        for (const BookSource &book :
             {source(LongBook, LongTitle, 6, 50000), source(SmsBook, PaidTitle, 2, 400),
              source(AccountBook, PaidTitle, 2, 400), source(SmsBookUnsent, "暮色小集", 2, 400)}) {
            QString error;
            QVERIFY2(BookPacker(book).writeTo(m_books + '/' + book.id + ".vbp", &error),
                     qPrintable(error));
        }
        m_server.setDataRoot(m_dir.filePath("serverroot"));
        m_server.setLogFile(m_dir.filePath("server.log"));
        // The store's links name the link, so downloads come through it.
        QVERIFY(m_link.listen(0, 4096, 10));
        const QString started = m_server.start(
            m_books, {"--price", SmsBook + "=sms", "--price", SmsBookUnsent + "=sms", "--price",
                      AccountBook + "=pay", "--public-url", "http://" + m_link.hostPort() + '/'});
        QVERIFY2(started.isEmpty(), qPrintable(started));
        m_link.setUpstreamPort(quint16(m_server.port()));
        qputenv("ZARVOREADER_STORE", m_link.hostPort().toUtf8());
    }

    void cleanupTestCase()
    {
        m_app.reset();
        m_server.stop();
    }

    // A binding or script error in a screen is a fault even when the screen
    // still shows something.
    void init() { QTest::failOnWarning(QRegularExpression("\\.qml:\\d+")); }

    // A free book: its progress in the download centre, a pause part way, the
    // rest after resuming, then the book opens from the shelf.
    void freeBookPauseResumeRead()
    {
        startReader();
        openDetails(LongBook);
        QCOMPARE(ScreenDriver::text(m_ui.onScreen("buyButton")), "下载");

        // The pause is tapped at the first progress report, as soon as the
        // download centre shows the row.
        QAbstractItemModel *tasks = taskModel();
        QVERIFY(tasks);
        QString summaryWhileRunning;
        int badgeWhileRunning = 0;
        bool paused = false;
        QObject guard;
        connect(
            tasks, &QAbstractItemModel::dataChanged, &guard,
            [&] {
                if (paused || tasks->rowCount() != 1 || taskState(0) != 1 || taskDone(0) <= 0)
                    return;
                QQuickItem *row = ScreenDriver::listItem(m_ui.onScreen("downloadList"), 0);
                summaryWhileRunning = ScreenDriver::text(m_ui.onScreen("downloadSummary"));
                badgeWhileRunning = badgeCount();
                paused = m_ui.click(ScreenDriver::findIn(row, "pauseButton"));
            },
            Qt::QueuedConnection);

        QVERIFY(m_ui.click(m_ui.onScreen("buyButton")));
        QVERIFY(m_ui.click(m_ui.onScreen("backButton")));
        tapTo("downloadsButton", "downloadsPage");
        QTRY_VERIFY_WITH_TIMEOUT(paused, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(taskState(0), 2, Patience);
        QCOMPARE(summaryWhileRunning, "正在下载 1 本 · 共 1 本");
        QCOMPARE(badgeWhileRunning, 1);

        // Part of the package is on the device and the row says how much.
        QQuickItem *row = ScreenDriver::listItem(m_ui.onScreen("downloadList"), 0);
        const auto inRow = [row](const char *name) { return ScreenDriver::findIn(row, name); };
        QCOMPARE(ScreenDriver::text(inRow("downloadName")), LongTitle);
        QCOMPARE(ScreenDriver::text(inRow("downloadState")), "已暂停");
        const qint64 packageSize = QFileInfo(m_books + '/' + LongBook + ".vbp").size();
        const QString package = BookFolder + '/' + LongBook + ".vbp";
        QCOMPARE(QFileInfo(package + "temp").size(), taskDone(0));
        QVERIFY(taskDone(0) < packageSize);
        const int percent = inRow("downloadProgress")->property("value").toInt();
        QVERIFY2(percent < 100, qPrintable(QString::number(percent)));
        QVERIFY(ScreenDriver::text(inRow("downloadBytes")).endsWith(QString("  %1%").arg(percent)));
        QCOMPARE(badgeCount(), 0);
        snap("paused");

        // Resumed, it finishes and leaves the centre for the shelf.
        QVERIFY(m_ui.click(inRow("resumeButton")));
        QTRY_COMPARE_WITH_TIMEOUT(tasks->rowCount(), 0, Patience);
        QCOMPARE(QFileInfo(package).size(), packageSize);
        QVERIFY(!QFile::exists(package + "temp"));
        tapTo("backButton", "storePage");
        tapTo("backButton", "shelfPage");
        QQuickItem *grid = m_ui.onScreen("shelfGrid");
        QTRY_COMPARE_WITH_TIMEOUT(grid->property("count").toInt(), 1, Patience);
        QQuickItem *cell = ScreenDriver::listItem(grid, 0);
        QVERIFY(ScreenDriver::findIn(cell, "newBadge")->isVisible());
        snap("new-book");
        QVERIFY(m_ui.click(cell));
        QCOMPARE(m_ui.screen()->objectName(), "readingPage");
    }

    // A priced book: the store's offer in its own words, paid by SMS (with
    // the wait while it goes out) or from the account, and the book on the
    // shelf afterwards.
    void paidPurchase_data()
    {
        QTest::addColumn<QString>("bookId");
        QTest::addColumn<QString>("offerWords");
        QTest::addColumn<QString>("confirmCaption");
        QTest::addColumn<bool>("bySms");

        QTest::newRow("by SMS") << SmsBook << "短信"
                                << "购买" << true;
        QTest::newRow("from the account") << AccountBook << "余额"
                                          << "确认购买" << false;
    }

    void paidPurchase()
    {
        QFETCH(QString, bookId);
        QFETCH(QString, offerWords);
        QFETCH(QString, confirmCaption);
        QFETCH(bool, bySms);

        startReader();
        openDetails(bookId);
        QVERIFY(m_ui.click(m_ui.onScreen("buyButton")));
        QQuickItem *offer = m_ui.anywhere("purchaseDialog");
        const QString message = shownMessage(offer);
        QVERIFY2(message.contains(PaidTitle) && message.contains(offerWords), qPrintable(message));
        QCOMPARE(ScreenDriver::text(ScreenDriver::findIn(offer, "confirmButton")), confirmCaption);
        snap(QTest::currentDataTag());

        // While the SMS is on its way the screen says so and a second
        // purchase is refused.
        auto *purchase = qobject_cast<purchaseManager *>(engine("purchaseMgrModel"));
        QVERIFY(purchase);
        bool panelShown = false;
        QString refusal;
        QObject guard;
        connect(
            purchase, &purchaseManager::sendingChanged, &guard,
            [&] {
                if (!purchase->property("sending").toBool())
                    return;
                panelShown = m_ui.anywhere("sendingPanel")->isVisible();
                buy(bookId, PaidTitle);
                refusal = m_ui.anywhere("purchaseToast")->property("message").toString();
            },
            Qt::QueuedConnection);
        QVERIFY(m_ui.click(ScreenDriver::findIn(offer, "confirmButton")));
        if (bySms) {
            QTRY_VERIFY_WITH_TIMEOUT(panelShown, Patience);
            QCOMPARE(refusal, "正在发送付款短信，请稍候");
        }

        // Paid: the store lets the package go and the book lands on the shelf.
        QQuickItem *grid = ScreenDriver::findIn(m_ui.root(), "shelfGrid");
        QTRY_COMPARE_WITH_TIMEOUT(grid->property("count").toInt(), 1, Patience);
        QVERIFY(!m_ui.anywhere("purchaseNotice")->isVisible());
        QVERIFY(!panelShown || bySms);
    }

    // Orders that end without a download say why, in the reader's words.
    void orderStopped_data()
    {
        QTest::addColumn<QString>("bookId");
        QTest::addColumn<bool>("smsGatewayDown");
        QTest::addColumn<bool>("alreadyOnDevice");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("words");

        const QString notice = "purchaseNotice";
        QTest::newRow("payment SMS not sent")
            << SmsBookUnsent << true << false << notice << "付款短信没有发出";
        QTest::newRow("unknown to the store")
            << "no-such-book" << false << false << notice << "书城没有受理这次购买";
        QTest::newRow("already on the device") << LongBook << false << true << "purchaseDialog"
                                               << "已在设备上";
    }

    void orderStopped()
    {
        QFETCH(QString, bookId);
        QFETCH(bool, smsGatewayDown);
        QFETCH(bool, alreadyOnDevice);
        QFETCH(QString, dialog);
        QFETCH(QString, words);

        if (smsGatewayDown)
            qputenv("ZARVOREADER_SMS_GATEWAY",
                    QString("http://127.0.0.1:%1/sms/send").arg(LoopbackPort::pickFree()).toUtf8());
        startReader(alreadyOnDevice ? LongBook : QString());
        qunsetenv("ZARVOREADER_SMS_GATEWAY");

        enterStore();
        buy(bookId, bookId);
        // A charge is accepted; the SMS then fails.
        QQuickItem *offer = m_ui.anywhere("purchaseDialog");
        if (smsGatewayDown) {
            QTRY_VERIFY_WITH_TIMEOUT(offer->isVisible(), Patience);
            QVERIFY(m_ui.click(ScreenDriver::findIn(offer, "confirmButton")));
        }
        const QString message = shownMessage(m_ui.anywhere(dialog));
        QVERIFY2(message.contains(words), qPrintable(message));
        snap(QTest::currentDataTag());
        QCOMPARE(taskModel()->rowCount(), 0);
    }

private:
    // A fresh data root and a new application object in place of the one
    // before; a book's package can be put on the device first.
    void startReader(const QString &bookOnDevice = QString())
    {
        m_app.reset();
        QVERIFY(m_root.renew());
        if (!bookOnDevice.isEmpty()) {
            const QString folder = UserBookFolder;
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(QFile::copy(m_books + '/' + bookOnDevice + ".vbp",
                                folder + '/' + bookOnDevice + ".vbp"));
        }
        m_app = std::make_unique<EBookReaderApp>();
        QVERIFY(m_ui.attach(*m_app));
        QVERIFY(engine("purchaseMgrModel"));
    }

    QObject *engine(const char *name) const
    {
        return m_ui.view()->rootContext()->contextProperty(name).value<QObject *>();
    }
    QAbstractItemModel *taskModel() const
    {
        return qobject_cast<QAbstractItemModel *>(engine("downloadItemModel"));
    }
    QVariant taskRole(int row, const QByteArray &role) const
    {
        QAbstractItemModel *model = taskModel();
        return model->data(model->index(row, 0), model->roleNames().key(role));
    }
    int taskState(int row) const { return taskRole(row, "downloadState").toInt(); }
    qint64 taskDone(int row) const { return taskRole(row, "downloadedsize").toLongLong(); }

    // The running downloads the title-bar badge shows.
    int badgeCount() const { return m_ui.anywhere("downloadsButton")->property("running").toInt(); }

    // By way of the store front, where the store gives the reader its user id.
    void openDetails(const QString &bookId)
    {
        enterStore();
        QMetaObject::invokeMethod(m_ui.root(), "openStoreDetails", Q_ARG(QVariant, bookId));
        QCOMPARE(m_ui.screen()->objectName(), "detailsPage");
        QTRY_VERIFY_WITH_TIMEOUT(m_ui.screen()->property("loaded").toBool(), Patience);
    }

    void tapTo(const char *button, const QString &screen)
    {
        QVERIFY(m_ui.click(m_ui.onScreen(button)));
        QCOMPARE(m_ui.screen()->objectName(), screen);
    }
    void snap(const QString &name)
    {
        QVERIFY(m_ui.shot("purchase", name));
        ZR_VERIFY_ACCESSIBLE(m_ui.view());
    }
    // The message of a dialog once it shows; empty when it never does.
    QString shownMessage(QQuickItem *dialog)
    {
        if (!QTest::qWaitFor([dialog] { return dialog->isVisible(); }, Patience))
            return QString();
        return ScreenDriver::text(ScreenDriver::findIn(dialog, "dialogMessage"));
    }
    void buy(const QString &bookId, const QString &title)
    {
        QMetaObject::invokeMethod(m_ui.root(), "buy", Q_ARG(QVariant, bookId), Q_ARG(QVariant, "0"),
                                  Q_ARG(QVariant, title));
    }

    void enterStore()
    {
        tapTo("storeButton", "storePage");
        QTRY_VERIFY_WITH_TIMEOUT(m_ui.screen()->property("loaded").toBool(), Patience);
    }

    QTemporaryDir m_dir;
    QString m_books;
    StoreServerProcess m_server;
    SlowLink m_link;
    TestDataRoot m_root;
    std::unique_ptr<EBookReaderApp> m_app;
    ScreenDriver m_ui;
};

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    TstPurchaseScreens test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_purchasescreens.moc"
