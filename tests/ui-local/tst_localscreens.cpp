// Drives the real local screens offscreen against the real engines: open a
// book from the shelf, page by tap and swipe across a chapter boundary,
// bookmark, leave, restart the whole program and come back on the same page.

#include "accessibilitywalk.h"
#include "bookpacker.h"
#include "commondef.h"
#include "ebookreaderapp.h"
#include "screendriver.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QChar Jia(0x7532), Yi(0x4e59), Bing(0x4e19);

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

// The first two lines of page p of a chapter made by chapterText().
QStringList page(QChar mark, int p)
{
    return {QString(15, mark), QString::number(p) + QString(14, mark)};
}

} // namespace

class TestLocalScreens : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("ZARVOREADER_ROOT", m_root.path().toUtf8());
        const QString folder = PreInstallBookFolder;
        QVERIFY(QDir().mkpath(folder));
        const QList<BookSource::Chapter> chapters{{"上篇", chapterText(Jia, 2)},
                                                  {"中篇", chapterText(Yi, 2)},
                                                  {"下篇", chapterText(Bing, 1)}};
        QVERIFY(BookPacker({"a-first", "第一本书", "甲", {}, {}, chapters})
                    .writeTo(folder + "/a-first.vbp"));
        QVERIFY(BookPacker({"b-second", "第二本书", "乙", {}, {}, {{"唯一", "短短一章"}}})
                    .writeTo(folder + "/b-second.vbp"));
    }

    // The screens go on from where the test before left them.
    void init()
    {
        if (!m_app)
            startProgram();
    }

    void readBookmarkLeaveAndResume()
    {
        QTRY_COMPARE(find("shelfGrid")->property("count").toInt(), 2);
        snap("shelf");

        // The first cell is the first book in id order (never read, no badge).
        openFirstBook();
        QCOMPARE(pageLines().size(), 20);
        QCOMPARE(pageLines().mid(0, 2), page(Jia, 0));
        snap("reading-first-page");

        // A tap on the right third turns the page, a left swipe crosses into
        // the second chapter.
        clickAt(QPointF(440, 400));
        QTRY_COMPARE(pageLines().mid(0, 2), page(Jia, 1));
        swipeLeft();
        QTRY_COMPARE(pageLines().mid(0, 2), page(Yi, 0));
        // A screen reader reads the page turned to, all twenty lines.
        QCOMPARE(AccessibilityWalk::names(m_ui.view(), QAccessible::Paragraph),
                 QStringList(pageLines().join('\n')));
        // The reader turns back and on again as a screen reader does it.
        QVERIFY(AccessibilityWalk::press(m_ui.view(), "previousPageArea"));
        QTRY_COMPARE(pageLines().mid(0, 2), page(Jia, 1));
        QVERIFY(AccessibilityWalk::press(m_ui.view(), "nextPageArea"));
        QTRY_COMPARE(pageLines().mid(0, 2), page(Yi, 0));
        // A tap on the left third goes back across the boundary and forward again.
        clickAt(QPointF(40, 400));
        QTRY_COMPARE(pageLines().mid(0, 2), page(Jia, 1));
        clickAt(QPointF(440, 400));
        QTRY_COMPARE(pageLines().mid(0, 2), page(Yi, 0));

        QVERIFY(!screen()->property("marked").toBool());
        click(find("bookmarkToggle"));
        QTRY_VERIFY(screen()->property("marked").toBool());
        QVERIFY(find("bookmarkRibbon")->isVisible());
        QVERIFY(m_ui.shot("local", "reading-bookmarked"));

        tapTo("bookmarksButton", "indexListPage");
        QTRY_COMPARE(find("indexList")->property("count").toInt(), 1);
        snap("bookmarks");
        tapTo("backButton", "readingPage");
        QCOMPARE(pageLines().mid(0, 2), page(Yi, 0));

        // Leave to the shelf, quit, and start the whole program again.
        tapTo("backButton", "shelfPage");
        startProgram();
        // The book just read now sorts before the unread one.
        QTRY_COMPARE(find("shelfGrid")->property("count").toInt(), 2);
        openFirstBook();
        QCOMPARE(pageLines().mid(0, 2), page(Yi, 0));
        QVERIFY(screen()->property("marked").toBool());
        QVERIFY(m_ui.shot("local", "reading-resumed"));

        click(find("bookmarkToggle"));
        QTRY_VERIFY(!screen()->property("marked").toBool());
        tapTo("backButton", "shelfPage");
    }

    void chapterListJumps()
    {
        openFirstBook();
        tapTo("chaptersButton", "indexListPage");
        QTRY_COMPARE(find("indexList")->property("count").toInt(), 3);
        // The current chapter is highlighted.
        QCOMPARE(screen()->property("currentRow").toInt(), 1);
        snap("chapters");
        // The third row: 120 (bars and tabs) + 2 rows of 60 + half a row.
        clickAt(QPointF(240, 64 + 56 + 2 * 60 + 30));
        waitForScreen("readingPage");
        QTRY_COMPARE(pageLines().mid(0, 2), page(Bing, 0));
        // The last page of the last chapter: paging on is refused, the page stays.
        clickAt(QPointF(440, 400));
        QTest::qWait(100);
        QCOMPARE(pageLines().mid(0, 2), page(Bing, 0));
        tapTo("backButton", "shelfPage");
    }

    void settingsSwitchPersists()
    {
        tapTo("settingsButton", "settingsPage");
        QQuickItem *toggle = find("overwriteNotifySwitch");
        QVERIFY(toggle && toggle->property("checked").toBool());
        click(toggle);
        QTRY_VERIFY(!toggle->property("checked").toBool());
        snap("settings");
        tapTo("backButton", "shelfPage");
        // The choice reaches the settings file once the engines are gone.
        m_app.reset();
        const QSettings file(BookInfoFolder + "/ebooksetting.ini", QSettings::IniFormat);
        QCOMPARE(file.value("IsNotifyUserOverwriteDL").toString(), QStringLiteral("false"));
        startProgram();
    }

    void deleteFromShelfAsksFirst()
    {
        QQuickItem *grid = find("shelfGrid");
        QVERIFY(grid);
        QTRY_COMPARE(grid->property("count").toInt(), 2);
        // A long press on the second cell asks before the book goes.
        const QPoint second(84 + 156, 200);
        QTest::mousePress(m_ui.view(), Qt::LeftButton, Qt::NoModifier, second);
        QTest::qWait(1200);
        QTest::mouseRelease(m_ui.view(), Qt::LeftButton, Qt::NoModifier, second);
        QQuickItem *confirm = find("confirmButton");
        QVERIFY(confirm);
        QTRY_VERIFY(confirm->isVisible());
        snap("delete-confirm");
        click(confirm);
        QTRY_COMPARE(grid->property("count").toInt(), 1);
        QVERIFY(!QFile::exists(PreInstallBookFolder + "/b-second.vbp"));
    }

    // The accessibility walk sees what it must, and nothing where all is well;
    // otherwise the checks on the screens above would pass on anything.
    void walkSeesFaults_data()
    {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<int>("faults");

        QTest::newRow("named button")
            << QByteArray(
                   "Rectangle { Accessible.role: Accessible.Button; Accessible.name: \"好\" }")
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

    void walkSeesFaults()
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

    void cleanupTestCase() { m_app.reset(); }

private:
    void startProgram()
    {
        m_app.reset();
        m_app = std::make_unique<EBookReaderApp>();
        QVERIFY(m_ui.attach(*m_app));
        waitForScreen("shelfPage");
    }
    QQuickItem *screen() const { return m_ui.screen(); }
    QQuickItem *find(const char *name) const { return m_ui.onScreen(name); }
    void click(QQuickItem *item) { QVERIFY(m_ui.click(item)); }
    void clickAt(QPointF scenePos)
    {
        QTest::mouseClick(m_ui.view(), Qt::LeftButton, Qt::NoModifier, scenePos.toPoint());
    }
    void swipeLeft()
    {
        QTest::mousePress(m_ui.view(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 400));
        for (int x = 380; x >= 200; x -= 30)
            QTest::mouseMove(m_ui.view(), QPoint(x, 400), 5);
        QTest::mouseRelease(m_ui.view(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 400));
    }
    QStringList pageLines() const { return screen()->property("lines").toStringList(); }
    void waitForScreen(const QString &name)
    {
        QTRY_VERIFY(screen() && screen()->objectName() == name);
        QTRY_VERIFY(
            !m_ui.root()->property("stack").value<QQuickItem *>()->property("busy").toBool());
    }
    void tapTo(const char *button, const QString &name)
    {
        click(find(button));
        waitForScreen(name);
    }
    void openFirstBook()
    {
        clickAt(QPointF(84, 200));
        waitForScreen("readingPage");
    }
    void snap(const QString &name)
    {
        QVERIFY(m_ui.shot("local", name));
        ZR_VERIFY_ACCESSIBLE(m_ui.view());
    }

    QTemporaryDir m_root;
    std::unique_ptr<EBookReaderApp> m_app;
    ScreenDriver m_ui;
};

QTEST_MAIN(TestLocalScreens)
#include "tst_localscreens.moc"
