// One journey through the real screens: open the book, search it for a
// traditional phrase, tap a hit, and the reading page shows the page that
// holds it with the hit marked, until the page is turned.

#include "commondef.h"
#include "ebookreaderapp.h"
#include "screendriver.h"
#include "searchbook.h"
#include "testdataroot.h"

#include <QDir>
#include <QTest>
#include <memory>

class TestBookSearchScreen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_root.renew());
        QVERIFY(QDir().mkpath(PreInstallBookFolder));
        QVERIFY(
            BookPacker(SearchBook::source()).writeTo(PreInstallBookFolder + "/zr-searchbook.vbp"));
        m_app = std::make_unique<EBookReaderApp>();
        QTRY_VERIFY(m_ui.attach(*m_app));
        waitForScreen("shelfPage");
    }

    void searchTapHitAndSeeItMarked()
    {
        QQuickItem *grid = m_ui.onScreen("shelfGrid");
        QVERIFY(grid);
        QTRY_COMPARE(grid->property("count").toInt(), 1);
        QTest::mouseClick(m_ui.view(), Qt::LeftButton, Qt::NoModifier, QPoint(84, 200));
        waitForScreen("readingPage");
        QVERIFY(m_ui.click(m_ui.onScreen("bookSearchButton")));
        waitForScreen("bookSearchPage");

        m_ui.onScreen("bookSearchInput")->setProperty("text", QStringLiteral("長安"));
        QVERIFY(m_ui.click(m_ui.onScreen("bookSearchGo")));
        QTRY_VERIFY(!m_ui.screen()->property("searching").toBool());
        QCOMPARE(m_ui.screen()->property("hitCount").toInt(), 5);
        QVERIFY(m_ui.shot("booksearch", "hits"));

        // The second hit, 長安 on the last line of the second chapter's third page.
        QQuickItem *second = ScreenDriver::listItem(m_ui.onScreen("bookSearchList"), 1);
        QVERIFY(m_ui.click(second));
        waitForScreen("readingPage");
        QCOMPARE(pageLines().at(19), QStringLiteral("長安道上行人少。"));
        QCOMPARE(hitMarks().size(), 1);
        const QVariantMap mark = hitMarks().first().toMap();
        QCOMPARE(mark.value("line").toInt(), 19);
        QCOMPARE(mark.value("column").toInt(), 0);
        QCOMPARE(mark.value("length").toInt(), 2);
        QQuickItem *band = m_ui.onScreen("searchHitMark");
        QVERIFY(band && band->isVisible() && band->width() > 0);
        QVERIFY(m_ui.shot("booksearch", "marked-page"));

        // Turning the page takes the mark away, and coming back does not bring
        // it again.
        QTest::mouseClick(m_ui.view(), Qt::LeftButton, Qt::NoModifier, QPoint(440, 400));
        QTRY_VERIFY(pageLines().at(19) != QStringLiteral("長安道上行人少。"));
        QVERIFY(hitMarks().isEmpty());
        QTest::mouseClick(m_ui.view(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 400));
        QTRY_COMPARE(pageLines().at(19), QStringLiteral("長安道上行人少。"));
        QVERIFY(hitMarks().isEmpty());

        // The screenshot tour's step: the search page, shot once its search ends.
        QVERIFY(QMetaObject::invokeMethod(m_ui.root(), "showScreen",
                                          Q_ARG(QVariant, QStringLiteral("book-search"))));
        waitForScreen("bookSearchPage");
        QTRY_VERIFY(!m_ui.root()->property("screenPending").toBool());
    }

    void cleanupTestCase()
    {
        if (m_ui.view())
            m_ui.view()->close();
        m_app.reset();
    }

private:
    void waitForScreen(const QString &name)
    {
        QTRY_VERIFY(m_ui.screen() && m_ui.screen()->objectName() == name);
        QTRY_VERIFY(
            !m_ui.root()->property("stack").value<QQuickItem *>()->property("busy").toBool());
    }
    QStringList pageLines() const { return m_ui.screen()->property("lines").toStringList(); }
    QVariantList hitMarks() const { return m_ui.screen()->property("hitMarks").toList(); }

    TestDataRoot m_root;
    std::unique_ptr<EBookReaderApp> m_app;
    ScreenDriver m_ui;
};

QTEST_MAIN(TestBookSearchScreen)
#include "tst_booksearchscreen.moc"
