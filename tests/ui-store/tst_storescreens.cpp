// The store screens as a reader uses them: the real application object with
// every engine, the real top-level document under the offscreen platform and
// the bundled store server over a folder of small books. Each step taps the
// screen, waits for what the screen shows and saves a picture of it.

#include "accessibilitywalk.h"
#include "bookpacker.h"
#include "ebookreaderapp.h"
#include "ebookreaderviewmgr.h"
#include "loopbackport.h"
#include "screendriver.h"
#include "storeserverprocess.h"
#include "testdataroot.h"

#include <QDir>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQuickItem>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// Fourteen books by one author make two result pages of twelve; twenty-six
// books in all make three recommendation pages.
const QStringList Authors =
    QStringList(14, "鲁迅") + QStringList(6, "老舍") + QStringList(6, "沈从文");
const int BookCount = int(Authors.size());

QString bookId(int i)
{
    return QString("b%1").arg(i + 1, 2, 10, QChar('0'));
}
QString bookTitle(int i)
{
    return QString("%1文集第%2卷").arg(Authors.at(i)).arg(i + 1);
}
QString description(int i)
{
    return QString("《%1》是%2的作品。\n本书收入书城，供读者免费试读与下载。")
        .arg(bookTitle(i), Authors.at(i));
}

// How long to wait for an answer or a picture; the machine may be busy.
const int Patience = 30000;

const auto findIn = &ScreenDriver::findIn;
const auto text = &ScreenDriver::text;
const auto listItem = &ScreenDriver::listItem;

} // namespace

class TstStoreScreens : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_books = m_dir.filePath("books");
        QVERIFY(QDir().mkpath(m_books));
        for (int i = 0; i < BookCount; ++i) {
            const BookSource source{
                bookId(i),      bookTitle(i),
                Authors.at(i),  "人民文学出版社",
                description(i), {{"第一章", "第一章的正文。"}, {"第二章", "第二章的正文。"}}};
            QString error;
            QVERIFY2(BookPacker(source).writeTo(m_books + '/' + source.id + ".vbp", &error),
                     qPrintable(error));
        }
        m_server.setDataRoot(m_dir.filePath("serverroot"));
        m_server.setLogFile(m_dir.filePath("server.log"));
        const QString started = m_server.start(m_books);
        QVERIFY2(started.isEmpty(), qPrintable(started));
        qputenv("ZARVOREADER_STORE", m_server.hostPort().toUtf8());
        startReader();
        if (m_ui.view() && !m_ui.view()->rootContext()->contextProperty("bookNetMgr").isValid())
            QSKIP("the store engines are not registered on the view in this build");
    }

    void cleanupTestCase()
    {
        m_app.reset();
        m_server.stop();
    }

    // A binding or script error in a screen is a fault even when the screen
    // still shows something.
    void init() { QTest::failOnWarning(QRegularExpression("\\.qml:\\d+")); }

    void storeFront()
    {
        openStoreFront();
        QQuickItem *strip = onScreen("recommendStrip");
        QVERIFY(strip->property("count").toInt() > 0);
        QVERIFY(onScreen("bookList")->property("count").toInt() > 0);
        QVERIFY(!onScreen("storeStatus")->isVisible());
        // Covers are fetched by the screen itself from the store.
        QQuickItem *cover = nullptr;
        for (QQuickItem *child : listItem(strip, 0)->childItems()) {
            if (child->property("loaded").isValid())
                cover = child;
        }
        QVERIFY(cover);
        QTRY_VERIFY_WITH_TIMEOUT(cover->property("loaded").toBool(), Patience);
        shot("front");
    }

    void categoryPage()
    {
        openStoreFront();
        QVERIFY(click(listItem(onScreen("categoryBar"), 1)));
        QCOMPARE(screen()->property("categoryIndex").toInt(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(screen()->property("loaded").toBool(), Patience);
        QCOMPARE(screen()->property("categoryId").toString(), "free");
        shot("category");
        // Back to the store front for the steps that follow.
        QVERIFY(click(listItem(onScreen("categoryBar"), 0)));
        QTRY_COMPARE_WITH_TIMEOUT(screen()->property("categoryId").toString(), "novel", Patience);
    }

    void recommendationPaging()
    {
        openStoreFront();
        QVERIFY(click(onScreen("recommendMoreLink")));
        QCOMPARE(screen()->objectName(), "recommendPage");
        QQuickItem *page = screen();
        waitForRows(page, 12);
        QCOMPARE(text(onScreen("pageIndicator")), "第 1 / 3 页");
        shot("recommend");

        // Reaching the end of the list loads the next page below, until the
        // store has no more; nothing more is asked for at the bottom.
        QQuickItem *list = onScreen("recommendList");
        for (int rows : {24, BookCount, BookCount}) {
            QMetaObject::invokeMethod(list, "positionViewAtEnd");
            waitForRows(page, rows);
        }
        QVERIFY(page->property("meetBottom").toBool());
        QCOMPARE(text(onScreen("pageIndicator")), "第 3 / 3 页");
        QTRY_VERIFY_WITH_TIMEOUT(onScreen("recommendFooter"), Patience);
        QVERIFY(text(onScreen("recommendFooter")).startsWith("已经到底了"));
        shot("recommend-bottom");
    }

    void bookDetails()
    {
        openStoreFront();
        open(listItem(onScreen("recommendStrip"), 0), "detailsPage");
        QCOMPARE(text(onScreen("detailsTitle")), bookTitle(0));
        QCOMPARE(text(onScreen("detailsDescription")), description(0));
        QTRY_VERIFY_WITH_TIMEOUT(onScreen("detailsCover")->property("loaded").toBool(), Patience);
        shot("details");
    }

    void searchAndPage()
    {
        openStoreFront();
        open(onScreen("storeSearchButton"), "searchPage");
        QVERIFY(click(onScreen("searchInput")));
        for (const QChar c : QString("鲁迅"))
            QTest::sendKeyEvent(QTest::Click, m_ui.view(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        QCOMPARE(screen()->property("inputText").toString(), "鲁迅");
        shot("search");
        QVERIFY(click(onScreen("searchButton")));
        QCOMPARE(screen()->objectName(), "resultsPage");
        QQuickItem *page = screen();
        waitForRows(page, 12);
        QCOMPARE(text(onScreen("resultCount")), "已显示 12 本");
        // One more page to come: down is live, up is gray.
        QQuickItem *up = onScreen("pageUpButton");
        QQuickItem *down = onScreen("pageDownButton");
        QVERIFY(!up->property("enabledLook").toBool() && down->property("enabledLook").toBool());
        shot("results");

        // Fourteen books by the author: the second page holds the last two.
        QVERIFY(click(down));
        waitForRows(page, 14);
        QVERIFY(!down->property("enabledLook").toBool() && !up->property("enabledLook").toBool());
        shot("results-page2");

        // A found book opens its details.
        QQuickItem *list = onScreen("resultList");
        QMetaObject::invokeMethod(list, "positionViewAtEnd");
        open(listItem(list, 13), "detailsPage");
        QCOMPARE(text(onScreen("detailsTitle")), bookTitle(13));
    }

    void account()
    {
        openStoreFront();
        QVERIFY(click(onScreen("storeAccountButton")));
        QCOMPARE(screen()->objectName(), "accountPage");
        // The list view takes its rows from the model as the answer lands.
        QTRY_COMPARE_WITH_TIMEOUT(screen()->property("rowCount").toInt(), 3, Patience);
        QVERIFY(!onScreen("storeStatus")->isVisible());
        shot("account");
    }

    // The account screen shows the same status element as the store front.
    void offline_data()
    {
        QTest::addColumn<QString>("screenName");
        QTest::newRow("store") << "store";
        QTest::newRow("search") << "search";
    }

    void offline()
    {
        QFETCH(QString, screenName);
        // A port that was free a moment ago refuses the connection.
        qputenv("ZARVOREADER_STORE", "127.0.0.1:" + QByteArray::number(LoopbackPort::pickFree()));
        startReader();
        QMetaObject::invokeMethod(m_ui.root(), "showScreen", Q_ARG(QVariant, screenName));
        QCOMPARE(screen()->objectName(), screenName + "Page");
        QQuickItem *status = onScreen(screenName == "search" ? "keywordStatus" : "storeStatus");
        QVERIFY(status);
        QTRY_COMPARE_WITH_TIMEOUT(status->property("mode").toString(), "error", Patience);
        QCOMPARE(status->property("errorCode").toInt(), -100);
        QVERIFY(status->isVisible());
        QVERIFY(text(findIn(status, "statusMessage")).contains("网络"));
        shot("offline-" + screenName);

        // Once the store is reachable again, retrying shows the page.
        qputenv("ZARVOREADER_STORE", m_server.hostPort().toUtf8());
        QVERIFY(click(findIn(status, "retryButton")));
        QTRY_COMPARE_WITH_TIMEOUT(status->property("mode").toString(), "ready", Patience);
    }

private:
    // A fresh data root (no stored user id, no cached pages) and a new
    // application object in place of the one before.
    void startReader()
    {
        m_app.reset();
        QVERIFY(m_root.renew());
        m_app = std::make_unique<EBookReaderApp>();
        QVERIFY(m_ui.attach(*m_app));
    }

    QQuickItem *screen() const { return m_ui.screen(); }
    QQuickItem *onScreen(const QString &name) const { return m_ui.onScreen(name); }
    bool click(QQuickItem *item) { return m_ui.click(item); }
    // Every screen pictured is also walked for what a screen reader needs.
    void shot(const QString &name)
    {
        QVERIFY2(m_ui.shot("store", name), qPrintable(name));
        ZR_VERIFY_ACCESSIBLE(m_ui.view());
    }
    // Taps the item and waits for the screen it opens to have loaded.
    void open(QQuickItem *item, const QString &screenName)
    {
        QVERIFY(click(item));
        QCOMPARE(screen()->objectName(), screenName);
        QTRY_VERIFY_WITH_TIMEOUT(screen()->property("loaded").toBool(), Patience);
    }
    static void waitForRows(QQuickItem *page, int rows)
    {
        QTRY_COMPARE_WITH_TIMEOUT(page->property("rowCount").toInt(), rows, Patience);
        QTRY_VERIFY_WITH_TIMEOUT(!page->property("waiting").toBool(), Patience);
    }

    // From the shelf, by the store button of its title bar.
    void openStoreFront()
    {
        QMetaObject::invokeMethod(m_ui.root(), "goToShelf");
        QCOMPARE(screen()->objectName(), "shelfPage");
        open(onScreen("storeButton"), "storePage");
    }

    QTemporaryDir m_dir;
    QString m_books;
    StoreServerProcess m_server;
    ScreenDriver m_ui;
    TestDataRoot m_root;
    std::unique_ptr<EBookReaderApp> m_app;
};

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    TstStoreScreens test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storescreens.moc"
