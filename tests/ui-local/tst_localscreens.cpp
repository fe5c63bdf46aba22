// Drives the real local screens offscreen against the real engines: open a
// book from the shelf, page by tap and swipe across a chapter boundary,
// bookmark, leave, restart the whole program and come back on the same page.

#include "accessibilitywalk.h"
#include "bookpacker.h"
#include "commondef.h"
#include "ebookreaderapp.h"

#include <QDir>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// A chapter of full 15-character lines without line breaks, so each page
// holds exactly 20 of them; the second line of page p starts with p.
QString chapterText(QChar mark, int pages)
{
    QString text;
    for (int page = 0; page < pages; ++page) {
        text += QString(15, mark) + QString::number(page) + QString(14, mark);
        for (int line = 2; line < 20; ++line)
            text += QString(15, mark);
    }
    return text;
}

QString secondLine(QChar mark, int page)
{
    return QString::number(page) + QString(14, mark);
}

} // namespace

class TestLocalScreens : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void readBookmarkLeaveAndResume();
    void chapterListJumps();
    void settingsSwitchPersists();
    void deleteFromShelfAsksFirst();
    void walkSeesFaults_data();
    void walkSeesFaults();
    void cleanupTestCase();

private:
    void startProgram();
    void stopProgram();
    QQuickView *view() const;
    QQuickItem *root() const { return view()->rootObject(); }
    QQuickItem *screen() const;
    QQuickItem *find(const char *objectName) const;
    void click(QQuickItem *item);
    void clickAt(QPointF scenePos);
    void swipeLeft();
    QStringList pageLines() const;
    void waitForScreen(const QString &name);
    void snap(const QString &name);

    QTemporaryDir m_root;
    QString m_shots;
    std::unique_ptr<EBookReaderApp> m_app;
};

void TestLocalScreens::initTestCase()
{
    QVERIFY(m_root.isValid());
    qputenv("ZARVOREADER_ROOT", m_root.path().toUtf8());
    m_shots = qEnvironmentVariable("ZR_BINARY_DIR", QDir::tempPath()) + "/ui-screenshots";
    QDir().mkpath(m_shots);

    const QString folder = PreInstallBookFolder;
    QVERIFY(QDir().mkpath(folder));
    BookSource first;
    first.id = "a-first";
    first.title = "第一本书";
    first.author = "甲";
    first.chapters = {{"上篇", chapterText(QChar(0x7532), 2)},
                      {"中篇", chapterText(QChar(0x4e59), 2)},
                      {"下篇", chapterText(QChar(0x4e19), 1)}};
    QVERIFY(BookPacker(first).writeTo(folder + "/a-first.vbp"));
    BookSource second;
    second.id = "b-second";
    second.title = "第二本书";
    second.author = "乙";
    second.chapters = {{"唯一", "短短一章"}};
    QVERIFY(BookPacker(second).writeTo(folder + "/b-second.vbp"));
}

void TestLocalScreens::cleanupTestCase()
{
    stopProgram();
}

void TestLocalScreens::startProgram()
{
    m_app = std::make_unique<EBookReaderApp>();
    m_app->showExpanded();
    QVERIFY(view());
    QTRY_VERIFY(view()->status() == QQuickView::Ready && root());
    QVERIFY(QTest::qWaitForWindowExposed(view()));
    waitForScreen("shelfPage");
}

void TestLocalScreens::stopProgram()
{
    if (!m_app)
        return;
    view()->close();
    m_app.reset();
}

QQuickView *TestLocalScreens::view() const
{
    for (QWindow *window : QGuiApplication::allWindows()) {
        if (auto *quickView = qobject_cast<QQuickView *>(window))
            return quickView;
    }
    return nullptr;
}

QQuickItem *TestLocalScreens::screen() const
{
    return root()->property("currentScreen").value<QQuickItem *>();
}

QQuickItem *TestLocalScreens::find(const char *objectName) const
{
    return screen() ? screen()->findChild<QQuickItem *>(objectName) : nullptr;
}

void TestLocalScreens::clickAt(QPointF scenePos)
{
    QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, scenePos.toPoint());
}

void TestLocalScreens::click(QQuickItem *item)
{
    QVERIFY(item);
    QVERIFY(item->isVisible());
    clickAt(item->mapToScene(QPointF(item->width() / 2, item->height() / 2)));
}

void TestLocalScreens::swipeLeft()
{
    QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 400));
    for (int x = 380; x >= 200; x -= 30)
        QTest::mouseMove(view(), QPoint(x, 400), 5);
    QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 400));
}

QStringList TestLocalScreens::pageLines() const
{
    return screen()->property("lines").toStringList();
}

void TestLocalScreens::waitForScreen(const QString &name)
{
    QTRY_VERIFY(screen() && screen()->objectName() == name);
    QTRY_VERIFY(!root()->property("stack").value<QQuickItem *>()->property("busy").toBool());
}

void TestLocalScreens::snap(const QString &name)
{
    QTest::qWait(50);
    const QImage image = view()->grabWindow();
    QVERIFY(!image.isNull());
    QVERIFY(image.save(m_shots + "/local-" + name + ".png"));
}

void TestLocalScreens::readBookmarkLeaveAndResume()
{
    startProgram();
    QTRY_COMPARE(find("shelfGrid")->property("count").toInt(), 2);
    snap("shelf");
    ZR_VERIFY_ACCESSIBLE(view());

    // The first cell is the first book in id order (never read, no badge).
    clickAt(QPointF(84, 200));
    waitForScreen("readingPage");
    QCOMPARE(pageLines().size(), 20);
    QCOMPARE(pageLines().first(), QString(15, QChar(0x7532)));
    QCOMPARE(pageLines().at(1), secondLine(QChar(0x7532), 0));
    snap("reading-first-page");
    ZR_VERIFY_ACCESSIBLE(view());

    // A tap on the right third turns the page, a left swipe crosses into
    // the second chapter.
    clickAt(QPointF(440, 400));
    QTRY_COMPARE(pageLines().at(1), secondLine(QChar(0x7532), 1));
    swipeLeft();
    QTRY_COMPARE(pageLines().first(), QString(15, QChar(0x4e59)));
    QCOMPARE(pageLines().at(1), secondLine(QChar(0x4e59), 0));
    // A screen reader reads the page turned to, all twenty lines.
    QCOMPARE(AccessibilityWalk::names(view(), QAccessible::Paragraph),
             QStringList(pageLines().join('\n')));
    // The reader turns back and on again as a screen reader does it.
    QVERIFY(AccessibilityWalk::press(view(), "previousPageArea"));
    QTRY_COMPARE(pageLines().first(), QString(15, QChar(0x7532)));
    QVERIFY(AccessibilityWalk::press(view(), "nextPageArea"));
    QTRY_COMPARE(pageLines().first(), QString(15, QChar(0x4e59)));
    // A tap on the left third goes back across the boundary and forward again.
    clickAt(QPointF(40, 400));
    QTRY_COMPARE(pageLines().first(), QString(15, QChar(0x7532)));
    QCOMPARE(pageLines().at(1), secondLine(QChar(0x7532), 1));
    clickAt(QPointF(440, 400));
    QTRY_COMPARE(pageLines().first(), QString(15, QChar(0x4e59)));

    // Bookmark this page; the toggle shows it.
    QVERIFY(!screen()->property("marked").toBool());
    click(find("bookmarkToggle"));
    QTRY_VERIFY(screen()->property("marked").toBool());
    QVERIFY(find("bookmarkRibbon")->isVisible());
    snap("reading-bookmarked");

    // The bookmark list shows it with today's date.
    click(find("bookmarksButton"));
    waitForScreen("indexListPage");
    QQuickItem *list = find("indexList");
    QTRY_COMPARE(list->property("count").toInt(), 1);
    snap("bookmarks");
    ZR_VERIFY_ACCESSIBLE(view());
    click(find("backButton"));
    waitForScreen("readingPage");
    QCOMPARE(pageLines().first(), QString(15, QChar(0x4e59)));

    // Leave to the shelf, quit, and start the whole program again.
    click(find("backButton"));
    waitForScreen("shelfPage");
    stopProgram();
    startProgram();
    // The book just read now sorts before the unread one.
    QTRY_COMPARE(find("shelfGrid")->property("count").toInt(), 2);
    clickAt(QPointF(84, 200));
    waitForScreen("readingPage");
    QCOMPARE(pageLines().first(), QString(15, QChar(0x4e59)));
    QCOMPARE(pageLines().at(1), secondLine(QChar(0x4e59), 0));
    QVERIFY(screen()->property("marked").toBool());
    snap("reading-resumed");

    // Taking the bookmark off again.
    click(find("bookmarkToggle"));
    QTRY_VERIFY(!screen()->property("marked").toBool());
    click(find("backButton"));
    waitForScreen("shelfPage");
}

void TestLocalScreens::chapterListJumps()
{
    if (!m_app)
        startProgram();
    clickAt(QPointF(84, 200));
    waitForScreen("readingPage");
    click(find("chaptersButton"));
    waitForScreen("indexListPage");
    QQuickItem *list = find("indexList");
    QTRY_COMPARE(list->property("count").toInt(), 3);
    // The current chapter is highlighted.
    QCOMPARE(screen()->property("currentRow").toInt(), 1);
    snap("chapters");
    ZR_VERIFY_ACCESSIBLE(view());
    // The third row: 120 (bars and tabs) + 2 rows of 60 + half a row.
    clickAt(QPointF(240, 64 + 56 + 2 * 60 + 30));
    waitForScreen("readingPage");
    QTRY_COMPARE(pageLines().first(), QString(15, QChar(0x4e19)));
    // The last page of the last chapter: paging on is refused, the page stays.
    clickAt(QPointF(440, 400));
    QTest::qWait(100);
    QCOMPARE(pageLines().first(), QString(15, QChar(0x4e19)));
    click(find("backButton"));
    waitForScreen("shelfPage");
}

void TestLocalScreens::settingsSwitchPersists()
{
    if (!m_app)
        startProgram();
    waitForScreen("shelfPage");
    click(find("settingsButton"));
    waitForScreen("settingsPage");
    QQuickItem *toggle = find("overwriteNotifySwitch");
    QVERIFY(toggle && toggle->property("checked").toBool());
    click(toggle);
    QTRY_VERIFY(!toggle->property("checked").toBool());
    snap("settings");
    ZR_VERIFY_ACCESSIBLE(view());
    click(find("backButton"));
    waitForScreen("shelfPage");
    // The choice reaches the settings file once the engines are gone.
    stopProgram();
    const QSettings file(BookInfoFolder + "/ebooksetting.ini", QSettings::IniFormat);
    QCOMPARE(file.value("IsNotifyUserOverwriteDL").toString(), QStringLiteral("false"));
    startProgram();
}

void TestLocalScreens::deleteFromShelfAsksFirst()
{
    if (!m_app)
        startProgram();
    waitForScreen("shelfPage");
    QQuickItem *grid = find("shelfGrid");
    QVERIFY(grid);
    QTRY_COMPARE(grid->property("count").toInt(), 2);
    // A long press on the second cell asks; cancelling keeps the book.
    const QPoint second(84 + 156, 200);
    QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, second);
    QTest::qWait(1200);
    QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, second);
    QQuickItem *confirm = screen()->findChild<QQuickItem *>("confirmButton");
    QVERIFY(confirm);
    QTRY_VERIFY(confirm->isVisible());
    snap("delete-confirm");
    ZR_VERIFY_ACCESSIBLE(view());
    click(confirm);
    QTRY_COMPARE(grid->property("count").toInt(), 1);
    QVERIFY(!QFile::exists(PreInstallBookFolder + "/b-second.vbp"));
}

// The accessibility walk sees what it must, and nothing where all is well;
// otherwise the checks on the screens above would pass on anything.
void TestLocalScreens::walkSeesFaults_data()
{
    QTest::addColumn<QByteArray>("item");
    QTest::addColumn<int>("faults");

    QTest::newRow("named button")
        << QByteArray("Rectangle { Accessible.role: Accessible.Button; Accessible.name: \"好\" }")
        << 0;
    QTest::newRow("unnamed button")
        << QByteArray("Rectangle { Accessible.role: Accessible.Button }") << 1;
    QTest::newRow("hidden unnamed button")
        << QByteArray("Rectangle { visible: false; Accessible.role: Accessible.Button }") << 0;
    QTest::newRow("unnamed switch") << QByteArray("Switch {}") << 1;
    QTest::newRow("tap area nothing names") << QByteArray("MouseArea { onClicked: {} }") << 1;
    QTest::newRow("tap area in a named row")
        << QByteArray("Item { Accessible.role: Accessible.ListItem; Accessible.name: \"行\"\n"
                      "  MouseArea { anchors.fill: parent; onClicked: {} } }")
        << 0;
    QTest::newRow("area that only stops taps") << QByteArray("MouseArea {}") << 0;
}

void TestLocalScreens::walkSeesFaults()
{
    QFETCH(QByteArray, item);
    QFETCH(int, faults);
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\nimport QtQuick.Controls.Basic\n" + item, QUrl());
    std::unique_ptr<QObject> object(component.create());
    auto *quickItem = qobject_cast<QQuickItem *>(object.get());
    QVERIFY2(quickItem, qPrintable(component.errorString()));
    QQuickWindow window;
    quickItem->setSize(QSizeF(100, 40));
    quickItem->setParentItem(window.contentItem());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QStringList found = AccessibilityWalk::faults(&window);
    QVERIFY2(found.size() == faults, qPrintable(found.join('\n')));
}

QTEST_MAIN(TestLocalScreens)
#include "tst_localscreens.moc"
