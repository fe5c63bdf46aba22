// The store screens as a reader uses them: the real application object with
// every engine, the real top-level document under the offscreen platform and
// the bundled store server over a folder of small books. Each step taps the
// screen, waits for what the screen shows and saves a picture of it.

#include "bookpacker.h"
#include "ebookreaderapp.h"
#include "ebookreaderviewmgr.h"
#include "storeserverprocess.h"

#include <QDir>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQuickItem>
#include <QRegularExpression>
#include <QSet>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

struct ShelfBook
{
    const char *id;
    const char *title;
    const char *author;
};

// Fourteen books by one author make two result pages of twelve; twenty-six
// books in all make three recommendation pages.
const ShelfBook Books[] = {
    {"a01", "呐喊", "鲁迅"},     {"a02", "彷徨", "鲁迅"},       {"a03", "朝花夕拾", "鲁迅"},
    {"a04", "野草", "鲁迅"},     {"a05", "故事新编", "鲁迅"},   {"a06", "坟", "鲁迅"},
    {"a07", "热风", "鲁迅"},     {"a08", "华盖集", "鲁迅"},     {"a09", "而已集", "鲁迅"},
    {"a10", "三闲集", "鲁迅"},   {"a11", "二心集", "鲁迅"},     {"a12", "南腔北调集", "鲁迅"},
    {"a13", "准风月谈", "鲁迅"}, {"a14", "花边文学", "鲁迅"},   {"b01", "骆驼祥子", "老舍"},
    {"b02", "四世同堂", "老舍"}, {"b03", "茶馆", "老舍"},       {"b04", "猫城记", "老舍"},
    {"b05", "离婚", "老舍"},     {"b06", "牛天赐传", "老舍"},   {"c01", "边城", "沈从文"},
    {"c02", "长河", "沈从文"},   {"c03", "湘行散记", "沈从文"}, {"c04", "从文自传", "沈从文"},
    {"c05", "八骏图", "沈从文"}, {"c06", "月下小景", "沈从文"},
};
const int BookCount = int(sizeof(Books) / sizeof(Books[0]));
const int SearchAuthorBooks = 14;
// How long to wait for an answer or a picture; the machine may be busy.
const int Patience = 30000;

QString description(const ShelfBook &book)
{
    return QStringLiteral("《%1》是%2的作品。\n本书收入书城，供读者免费试读与下载。")
        .arg(QString::fromUtf8(book.title), QString::fromUtf8(book.author));
}

QQuickItem *findIn(QQuickItem *from, const QString &name)
{
    if (!from)
        return nullptr;
    if (from->objectName() == name)
        return from;
    const QList<QQuickItem *> children = from->childItems();
    for (QQuickItem *child : children) {
        if (QQuickItem *found = findIn(child, name))
            return found;
    }
    return nullptr;
}

// Every item of the given name below from, for the rows of a list.
void findAllIn(QQuickItem *from, const QString &name, QList<QQuickItem *> &out)
{
    if (!from)
        return;
    if (from->objectName() == name)
        out.append(from);
    const QList<QQuickItem *> children = from->childItems();
    for (QQuickItem *child : children)
        findAllIn(child, name, out);
}

QString text(QQuickItem *item)
{
    return item ? item->property("text").toString() : QString();
}

} // namespace

class TstStoreScreens : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void storeFront();
    void categoryPage();
    void recommendationPaging();
    void bookDetails();
    void searchAndPage();
    void account();
    void offline_data();
    void offline();

private:
    void startServer();
    void startReader();
    void stopReader();
    QQuickItem *root() const;
    QQuickItem *screen() const;
    QQuickItem *onScreen(const QString &name) const;
    QQuickItem *listItem(QQuickItem *list, int index) const;
    bool click(QQuickItem *item);
    void typeText(const QString &value);
    void shot(const QString &name);
    void openStoreFront();

    QTemporaryDir m_dir;
    QString m_books;
    StoreServerProcess m_server;
    int m_shotIndex = 0;
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<EBookReaderApp> m_app;
    EBookReaderViewMgr *m_view = nullptr;
};

void TstStoreScreens::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_books = m_dir.filePath(QStringLiteral("books"));
    QVERIFY(QDir().mkpath(m_books));
    for (const ShelfBook &book : Books) {
        BookSource source;
        source.id = QString::fromUtf8(book.id);
        source.title = QString::fromUtf8(book.title);
        source.author = QString::fromUtf8(book.author);
        source.publisher = QStringLiteral("人民文学出版社");
        source.description = description(book);
        source.chapters = {{QStringLiteral("第一章"), QStringLiteral("第一章的正文。")},
                           {QStringLiteral("第二章"), QStringLiteral("第二章的正文。")}};
        QString error;
        QVERIFY2(
            BookPacker(source).writeTo(m_books + QLatin1Char('/') + source.id + ".vbp", &error),
            qPrintable(error));
    }
    startServer();
    startReader();
    if (m_view && !m_view->rootContext()->contextProperty(QStringLiteral("bookNetMgr")).isValid())
        QSKIP("the store engines are not registered on the view in this build");
}

void TstStoreScreens::startServer()
{
    m_server.setDataRoot(m_dir.filePath(QStringLiteral("serverroot")));
    m_server.setLogFile(m_dir.filePath(QStringLiteral("server.log")));
    const QString started = m_server.start(m_books);
    QVERIFY2(started.isEmpty(), qPrintable(started));
    qputenv("ZARVOREADER_STORE", m_server.hostPort().toUtf8());
}

void TstStoreScreens::startReader()
{
    // A fresh data root: no stored user id, no cached pages.
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    qputenv("ZARVOREADER_ROOT", m_root->path().toLocal8Bit());
    m_app = std::make_unique<EBookReaderApp>();
    m_view = nullptr;
    for (QWindow *window : QGuiApplication::allWindows()) {
        if (auto *view = qobject_cast<EBookReaderViewMgr *>(window))
            m_view = view;
    }
    QVERIFY(m_view);
    QVERIFY2(
        m_view->status() == QQuickView::Ready,
        qPrintable(m_view->errors().isEmpty() ? QString() : m_view->errors().first().toString()));
    m_app->showExpanded();
    m_view->resize(480, 800);
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    // Transitions would only make each step wait; the screens are the same.
    root()->setProperty("animate", false);
}

void TstStoreScreens::stopReader()
{
    m_app.reset();
    m_view = nullptr;
}

void TstStoreScreens::cleanupTestCase()
{
    stopReader();
    m_server.stop();
}

void TstStoreScreens::init()
{
    // A binding or script error in a screen is a fault even when the screen
    // still shows something.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("\\.qml:\\d+")));
}

QQuickItem *TstStoreScreens::root() const
{
    return m_view ? m_view->rootObject() : nullptr;
}

QQuickItem *TstStoreScreens::screen() const
{
    return root() ? root()->property("currentScreen").value<QQuickItem *>() : nullptr;
}

QQuickItem *TstStoreScreens::onScreen(const QString &name) const
{
    return findIn(screen(), name);
}

QQuickItem *TstStoreScreens::listItem(QQuickItem *list, int index) const
{
    QQuickItem *item = nullptr;
    if (list)
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, item),
                                  Q_ARG(int, index));
    return item;
}

// Taps the middle of the item as a finger would.
bool TstStoreScreens::click(QQuickItem *item)
{
    if (!item || !item->isVisible())
        return false;
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    return true;
}

void TstStoreScreens::typeText(const QString &value)
{
    for (const QChar c : value)
        QTest::sendKeyEvent(QTest::Click, m_view, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void TstStoreScreens::shot(const QString &name)
{
    const QString folder = qEnvironmentVariable("ZR_BINARY_DIR") + "/ui-screenshots";
    QVERIFY(QDir().mkpath(folder));
    // Let pictures that have arrived be drawn.
    QTest::qWait(50);
    const QImage image = m_view->grabWindow();
    QVERIFY(!image.isNull());
    const QString path = QStringLiteral("%1/store-%2-%3.png")
                             .arg(folder)
                             .arg(++m_shotIndex, 2, 10, QLatin1Char('0'))
                             .arg(name);
    QVERIFY2(image.save(path), qPrintable(path));
}

// From the shelf, by the store button of its title bar.
void TstStoreScreens::openStoreFront()
{
    QMetaObject::invokeMethod(root(), "goToShelf");
    QCOMPARE(screen()->objectName(), QStringLiteral("shelfPage"));
    QVERIFY(click(onScreen(QStringLiteral("storeButton"))));
    QCOMPARE(screen()->objectName(), QStringLiteral("storePage"));
    QTRY_VERIFY_WITH_TIMEOUT(screen()->property("loaded").toBool(), Patience);
}

void TstStoreScreens::storeFront()
{
    openStoreFront();
    QQuickItem *bar = onScreen(QStringLiteral("categoryBar"));
    QVERIFY(bar);
    // The store's focused category comes first and is the one shown.
    QCOMPARE(bar->property("count").toInt(), 3);
    QCOMPARE(bar->property("currentIndex").toInt(), 0);
    QCOMPARE(screen()->property("categoryId").toString(), QStringLiteral("novel"));

    QQuickItem *strip = onScreen(QStringLiteral("recommendStrip"));
    QVERIFY(strip);
    QVERIFY(strip->property("count").toInt() > 0);
    QQuickItem *books = onScreen(QStringLiteral("bookList"));
    QVERIFY(books->property("count").toInt() > 0);
    QVERIFY(!onScreen(QStringLiteral("storeStatus"))->isVisible());

    // Covers are fetched by the screen itself from the store.
    QList<QQuickItem *> covers;
    QQuickItem *first = listItem(strip, 0);
    QVERIFY(first);
    for (QQuickItem *child : first->childItems()) {
        if (child->property("loaded").isValid())
            covers.append(child);
    }
    QCOMPARE(covers.size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(covers.first()->property("loaded").toBool(), Patience);
    shot(QStringLiteral("front"));
}

void TstStoreScreens::categoryPage()
{
    openStoreFront();
    QQuickItem *bar = onScreen(QStringLiteral("categoryBar"));
    QVERIFY(click(listItem(bar, 1)));
    QCOMPARE(screen()->property("categoryIndex").toInt(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(screen()->property("loaded").toBool(), Patience);
    QCOMPARE(screen()->property("categoryId").toString(), QStringLiteral("free"));
    // The bar stays as it was; the lists now hold the category's books, all
    // of them free (the store charges every fourth book from the third on and
    // every fourth from the fourth on).
    QCOMPARE(bar->property("count").toInt(), 3);
    QQmlContext *context = m_view->rootContext();
    QObject *bookModel = context->contextProperty(QStringLiteral("bookmodelQt")).value<QObject *>();
    int rows = 0;
    QMetaObject::invokeMethod(bookModel, "getCount", Q_RETURN_ARG(int, rows));
    QVERIFY(rows > 0);
    for (int i = 0; i < rows; ++i) {
        QString id;
        QMetaObject::invokeMethod(bookModel, "getBookID", Q_RETURN_ARG(QString, id), Q_ARG(int, i));
        int index = -1;
        for (int b = 0; b < BookCount; ++b) {
            if (id == QLatin1String(Books[b].id))
                index = b;
        }
        QVERIFY2(index >= 0 && index % 4 < 2, qPrintable(id));
    }
    shot(QStringLiteral("category"));

    // Back to the store front: the page seen before comes from the cache, at
    // once and without an answer to wait for.
    QVERIFY(click(listItem(bar, 0)));
    QVERIFY(screen()->property("loaded").toBool());
    QCOMPARE(screen()->property("categoryId").toString(), QStringLiteral("novel"));
}

void TstStoreScreens::recommendationPaging()
{
    openStoreFront();
    QVERIFY(click(onScreen(QStringLiteral("recommendMoreLink"))));
    QCOMPARE(screen()->objectName(), QStringLiteral("recommendPage"));
    QQuickItem *page = screen();
    QTRY_COMPARE_WITH_TIMEOUT(page->property("rowCount").toInt(), 12, Patience);
    QCOMPARE(text(onScreen(QStringLiteral("pageIndicator"))), QStringLiteral("第 1 / 3 页"));
    QCOMPARE(page->property("totalBooks").toInt(), BookCount);
    QVERIFY(!page->property("meetBottom").toBool());
    shot(QStringLiteral("recommend"));

    // Reaching the end of the list loads the next page below, until the
    // store has no more.
    QQuickItem *list = onScreen(QStringLiteral("recommendList"));
    const int expected[] = {24, BookCount};
    for (int rows : expected) {
        QMetaObject::invokeMethod(list, "positionViewAtEnd");
        QTRY_COMPARE_WITH_TIMEOUT(page->property("rowCount").toInt(), rows, Patience);
        QTRY_VERIFY_WITH_TIMEOUT(!page->property("waiting").toBool(), Patience);
    }
    QVERIFY(page->property("meetBottom").toBool());
    QCOMPARE(text(onScreen(QStringLiteral("pageIndicator"))), QStringLiteral("第 3 / 3 页"));
    QMetaObject::invokeMethod(list, "positionViewAtEnd");
    QTRY_VERIFY_WITH_TIMEOUT(onScreen(QStringLiteral("recommendFooter")), Patience);
    QVERIFY(
        text(onScreen(QStringLiteral("recommendFooter"))).startsWith(QStringLiteral("已经到底了")));
    // Nothing more is asked for at the bottom.
    QVERIFY(!page->property("waiting").toBool());
    QCOMPARE(page->property("rowCount").toInt(), BookCount);
    shot(QStringLiteral("recommend-bottom"));
}

void TstStoreScreens::bookDetails()
{
    openStoreFront();
    QVERIFY(click(listItem(onScreen(QStringLiteral("recommendStrip")), 0)));
    QCOMPARE(screen()->objectName(), QStringLiteral("detailsPage"));
    QTRY_VERIFY_WITH_TIMEOUT(screen()->property("loaded").toBool(), Patience);
    QCOMPARE(screen()->property("bookId").toString(), QStringLiteral("a01"));
    QCOMPARE(text(onScreen(QStringLiteral("detailsTitle"))), QStringLiteral("呐喊"));
    QCOMPARE(text(onScreen(QStringLiteral("detailsAuthor"))), QStringLiteral("鲁迅"));
    QCOMPARE(text(onScreen(QStringLiteral("detailsPublisher"))), QStringLiteral("人民文学出版社"));
    QCOMPARE(text(onScreen(QStringLiteral("detailsDescription"))), description(Books[0]));
    QVERIFY(text(onScreen(QStringLiteral("detailsSize"))).endsWith(QStringLiteral("KB")));
    QTRY_VERIFY_WITH_TIMEOUT(onScreen(QStringLiteral("detailsCover"))->property("loaded").toBool(),
                             Patience);
    shot(QStringLiteral("details"));

    // A book the store does not have: its refusal is shown, not the book
    // shown before.
    QMetaObject::invokeMethod(root(), "openStoreDetails", Q_ARG(QVariant, QStringLiteral("zz9")));
    QCOMPARE(screen()->property("bookId").toString(), QStringLiteral("zz9"));
    QQuickItem *status = onScreen(QStringLiteral("storeStatus"));
    QTRY_COMPARE_WITH_TIMEOUT(status->property("mode").toString(), QStringLiteral("error"),
                              Patience);
    QVERIFY(status->property("errorCode").toInt() != 200);
    QVERIFY(status->isVisible());
    QVERIFY(!text(findIn(status, QStringLiteral("statusMessage"))).isEmpty());
    shot(QStringLiteral("details-unknown"));
}

void TstStoreScreens::searchAndPage()
{
    openStoreFront();
    QVERIFY(click(onScreen(QStringLiteral("storeSearchButton"))));
    QCOMPARE(screen()->objectName(), QStringLiteral("searchPage"));
    QTRY_VERIFY_WITH_TIMEOUT(screen()->property("loaded").toBool(), Patience);
    QList<QQuickItem *> chips;
    QQuickItem *flow = onScreen(QStringLiteral("keywordFlow"));
    for (QQuickItem *chip : flow->childItems()) {
        if (chip->objectName().isEmpty() && !chip->childItems().isEmpty())
            chips.append(chip);
    }
    QStringList shown;
    for (QQuickItem *chip : chips)
        shown << text(chip->childItems().first());
    QVERIFY2(shown.contains(QStringLiteral("鲁迅")), qPrintable(shown.join(',')));

    QVERIFY(click(onScreen(QStringLiteral("searchInput"))));
    typeText(QStringLiteral("鲁迅"));
    QCOMPARE(screen()->property("inputText").toString(), QStringLiteral("鲁迅"));
    shot(QStringLiteral("search"));
    QVERIFY(click(onScreen(QStringLiteral("searchButton"))));
    QCOMPARE(screen()->objectName(), QStringLiteral("resultsPage"));
    QQuickItem *page = screen();
    QTRY_COMPARE_WITH_TIMEOUT(page->property("rowCount").toInt(), 12, Patience);
    QTRY_VERIFY_WITH_TIMEOUT(!page->property("waiting").toBool(), Patience);
    QVERIFY(text(onScreen(QStringLiteral("resultTitle"))).contains(QStringLiteral("14")));
    QCOMPARE(text(onScreen(QStringLiteral("resultCount"))), QStringLiteral("已显示 12 本"));
    // One more page to come: down is live, up is gray.
    QQuickItem *up = onScreen(QStringLiteral("pageUpButton"));
    QQuickItem *down = onScreen(QStringLiteral("pageDownButton"));
    QVERIFY(!up->property("enabledLook").toBool());
    QVERIFY(down->property("enabledLook").toBool());
    shot(QStringLiteral("results"));

    QVERIFY(click(down));
    QTRY_COMPARE_WITH_TIMEOUT(page->property("rowCount").toInt(), SearchAuthorBooks, Patience);
    QTRY_VERIFY_WITH_TIMEOUT(!page->property("waiting").toBool(), Patience);
    QVERIFY(!down->property("enabledLook").toBool());
    QVERIFY(!up->property("enabledLook").toBool());
    // A gray button does nothing.
    QVERIFY(click(down));
    QVERIFY(!page->property("waiting").toBool());
    QCOMPARE(page->property("rowCount").toInt(), SearchAuthorBooks);
    shot(QStringLiteral("results-page2"));

    // A found book opens its details.
    QQuickItem *list = onScreen(QStringLiteral("resultList"));
    QMetaObject::invokeMethod(list, "positionViewAtEnd");
    QVERIFY(click(listItem(list, SearchAuthorBooks - 1)));
    QCOMPARE(screen()->objectName(), QStringLiteral("detailsPage"));
    QTRY_VERIFY_WITH_TIMEOUT(screen()->property("loaded").toBool(), Patience);
    QCOMPARE(text(onScreen(QStringLiteral("detailsTitle"))), QStringLiteral("花边文学"));
}

void TstStoreScreens::account()
{
    openStoreFront();
    QVERIFY(click(onScreen(QStringLiteral("storeAccountButton"))));
    QCOMPARE(screen()->objectName(), QStringLiteral("accountPage"));
    QTRY_VERIFY_WITH_TIMEOUT(!screen()->property("waiting").toBool(), Patience);
    // The list view takes its rows from the model as the answer lands.
    QTRY_COMPARE_WITH_TIMEOUT(screen()->property("rowCount").toInt(), 3, Patience);
    QVERIFY(!onScreen(QStringLiteral("storeStatus"))->isVisible());
    shot(QStringLiteral("account"));
}

void TstStoreScreens::offline_data()
{
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<QString>("pageName");
    QTest::newRow("store") << "store"
                           << "storePage";
    QTest::newRow("search") << "search"
                            << "searchPage";
    QTest::newRow("account") << "account"
                             << "accountPage";
}

void TstStoreScreens::offline()
{
    QFETCH(QString, screenName);
    QFETCH(QString, pageName);
    // A port that was free a moment ago refuses the connection.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 refused = probe.serverPort();
    probe.close();
    qputenv("ZARVOREADER_STORE", QByteArray("127.0.0.1:") + QByteArray::number(refused));
    stopReader();
    startReader();

    QMetaObject::invokeMethod(root(), "showScreen", Q_ARG(QVariant, screenName));
    QCOMPARE(screen()->objectName(), pageName);
    QQuickItem *status = onScreen(screenName == "search" ? QStringLiteral("keywordStatus")
                                                         : QStringLiteral("storeStatus"));
    QVERIFY(status);
    QTRY_COMPARE_WITH_TIMEOUT(status->property("mode").toString(), QStringLiteral("error"),
                              Patience);
    QCOMPARE(status->property("errorCode").toInt(), -100);
    QVERIFY(status->isVisible());
    QVERIFY(text(findIn(status, QStringLiteral("statusMessage"))).contains(QStringLiteral("网络")));
    QVERIFY(findIn(status, QStringLiteral("retryButton"))->isVisible());
    shot(QStringLiteral("offline-") + screenName);

    // Once the store is reachable again, retrying shows the page.
    qputenv("ZARVOREADER_STORE", m_server.hostPort().toUtf8());
    QVERIFY(click(findIn(status, QStringLiteral("retryButton"))));
    QTRY_COMPARE_WITH_TIMEOUT(status->property("mode").toString(), QStringLiteral("ready"),
                              Patience);
}

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    TstStoreScreens test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storescreens.moc"
