// The real start-up in-process under the offscreen platform: folders, the
// top-level document, the registered names, activation and display events,
// the layout size and the close path, and what start-up leaves for later.

#include "bookpacker.h"
#include "commondef.h"
#include "ebookreaderapp.h"
#include "ebookreaderviewmgr.h"
#include "testdataroot.h"
#include "timeproperty.h"
#include "vebookreader.h"
#include "vorelebookdatabaseengine.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QNetworkInformation>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

EBookReaderViewMgr *viewOf(const EBookReaderApp &)
{
    // The application object keeps its view private; it is the one window of
    // its class that exists while the application object does.
    EBookReaderViewMgr *found = nullptr;
    for (QWindow *window : QGuiApplication::allWindows()) {
        if (auto *view = qobject_cast<EBookReaderViewMgr *>(window))
            found = view;
    }
    return found;
}

// The visible items below this one (in the item tree) showing this text.
int visibleTexts(QQuickItem *item, const QString &text)
{
    int found = item->isVisible() && item->property("text").toString() == text ? 1 : 0;
    for (QQuickItem *child : item->childItems())
        found += visibleTexts(child, text);
    return found;
}

// Whether a shared library whose file name contains name is loaded.
bool libraryLoaded(const QString &name)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && QString::fromLatin1(maps.readAll()).contains(name);
}

// Counts the events of one type that reach it.
class EventCounter : public QObject
{
public:
    explicit EventCounter(QEvent::Type type) : m_type(type) {}
    int count = 0;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == m_type)
            ++count;
        return QObject::event(e);
    }

private:
    QEvent::Type m_type;
};

} // namespace

class TstEBookReaderApp : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_root.renew()); }

    // First of all, while nothing in this process has loaded either: the
    // shelf comes up without the controls library of the other screens and
    // without the network information back end, which follows its first
    // frame.
    void startUpLeavesTheRestForLater()
    {
        EBookReaderApp app;
        EBookReaderViewMgr *view = viewOf(app);
        QVERIFY(view && view->rootObject());
        const QString networkPlugins = QStringLiteral("/networkinformation/");
        QVERIFY(!libraryLoaded(networkPlugins));
        app.showExpanded();
        QTRY_VERIFY(view->property("firstFrameShown").toBool());
        QVERIFY(!libraryLoaded(QStringLiteral("libQt6QuickTemplates2")));
        if (QNetworkInformation::availableBackends().isEmpty())
            QSKIP("no network information back end is installed");
        QTRY_VERIFY(libraryLoaded(networkPlugins));
    }

    void startUpCreatesFoldersOnce()
    {
        QVERIFY(!QDir(BookInfoFolder.path()).exists());
        {
            EBookReaderApp app;
        }
        for (const QString &folder :
             {BookInfoFolder.path(), BookFolder.path(), UserBookFolder.path()})
            QVERIFY2(QDir(folder).exists(), qPrintable(folder));

        // A second start with the folders present leaves them and their contents.
        QFile marker(BookFolder + "/marker.vbp");
        QVERIFY(marker.open(QIODevice::WriteOnly) && marker.write("x") == 1);
        marker.close();
        const QStringList before = QDir(m_root.path() + "/home/user").entryList(QDir::AllEntries);
        {
            EBookReaderApp app;
        }
        QCOMPARE(QDir(m_root.path() + "/home/user").entryList(QDir::AllEntries), before);
        QCOMPARE(QDir(BookFolder.path()).entryList(QDir::Files), QStringList{"marker.vbp"});
    }

    void unusableRootStillStarts()
    {
        // The root is a plain file: no folder can be made below it.
        QFile file(m_root.filePath("plainfile"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        qputenv("ZARVOREADER_ROOT", file.fileName().toLocal8Bit());
        EBookReaderApp app;
        QVERIFY(!QDir(BookInfoFolder.path()).exists());
        EBookReaderViewMgr *view = viewOf(app);
        QVERIFY(view);
        QCOMPARE(view->status(), QQuickView::Ready);
    }

    // The document loads at the phone size and every name it uses resolves
    // where its own bindings are evaluated.
    void documentLoadsWithEveryName()
    {
        EBookReaderApp app;
        EBookReaderViewMgr *view = viewOf(app);
        QVERIFY(view);
        QCOMPARE(view->source(), QUrl::fromLocalFile(EBookReaderViewMgr::documentPath()));
        QVERIFY2(
            view->status() == QQuickView::Ready && view->rootObject(),
            qPrintable(view->errors().isEmpty() ? QString() : view->errors().first().toString()));
        app.showExpanded();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        // The offscreen screen is square, so the view is a phone-sized window.
        QCOMPARE(view->QWindow::size(), QSize(480, 800));
        QCOMPARE(view->rootObject()->size(), QSizeF(480, 800));

        for (const char *name :
             {"timemodel",      "ebooksetting",      "bookshelfMgrModel",    "shelfListModel",
              "myBookShelf",    "listItemModel",     "bookreader",           "titlemodelQt",
              "recomodelQt",    "bookmodelQt",       "recommenddetailmodel", "bookInfoModel",
              "accountmodel",   "bookNetMgr",        "keySearchModel",       "resultSearchModel",
              "searchMgrModel", "downloadItemModel", "downloadMgr",          "purchaseMgrModel"}) {
            QQmlExpression expression(qmlContext(view->rootObject()), view->rootObject(), name);
            const QVariant value = expression.evaluate();
            QVERIFY2(!expression.hasError() && value.value<QObject *>(), name);
        }
    }

    void eventFilterNeverSwallows_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("activations");
        QTest::addColumn<int>("deactivations");

        QTest::newRow("activate") << int(QEvent::ApplicationActivate) << -1 << 1 << 0;
        QTest::newRow("deactivate") << int(QEvent::ApplicationDeactivate) << -1 << 0 << 1;
        QTest::newRow("state active")
            << int(QEvent::ApplicationStateChange) << int(Qt::ApplicationActive) << 1 << 0;
        QTest::newRow("state inactive")
            << int(QEvent::ApplicationStateChange) << int(Qt::ApplicationInactive) << 0 << 1;
        QTest::newRow("unrelated") << int(QEvent::User) << -1 << 0 << 0;
    }

    void eventFilterNeverSwallows()
    {
        QFETCH(int, kind);
        QFETCH(int, state);
        QFETCH(int, activations);
        QFETCH(int, deactivations);

        EBookReaderApp app;
        QSignalSpy activate(&app, &EBookReaderApp::switchToActivate);
        QSignalSpy deactivate(&app, &EBookReaderApp::switchToDeactivate);
        EventCounter receiver(static_cast<QEvent::Type>(kind));

        std::unique_ptr<QEvent> event;
        if (state >= 0)
            event = std::make_unique<QApplicationStateChangeEvent>(
                static_cast<Qt::ApplicationState>(state));
        else
            event = std::make_unique<QEvent>(static_cast<QEvent::Type>(kind));
        QCoreApplication::sendEvent(&receiver, event.get());

        QCOMPARE(receiver.count, 1);
        QCOMPARE(activate.count(), activations);
        QCOMPARE(deactivate.count(), deactivations);
    }

    void displayState_data()
    {
        QTest::addColumn<QList<int>>("states");
        QTest::addColumn<QStringList>("signalsSeen");
        QTest::addColumn<bool>("clockRunning");

        QTest::newRow("off then on") << QList<int>{-1, 1} << QStringList{"sleep", "wakeup"} << true;
        QTest::newRow("dimmed") << QList<int>{0} << QStringList{} << true;
        QTest::newRow("off then dimmed") << QList<int>{-1, 0} << QStringList{"sleep"} << false;
        QTest::newRow("unknown values") << QList<int>{7, -2} << QStringList{} << true;
    }

    void displayState()
    {
        QFETCH(QList<int>, states);
        QFETCH(QStringList, signalsSeen);
        QFETCH(bool, clockRunning);

        EBookReaderApp app;
        QStringList seen;
        connect(&app, &EBookReaderApp::sleep, this, [&seen] { seen << "sleep"; });
        connect(&app, &EBookReaderApp::wakeup, this, [&seen] { seen << "wakeup"; });
        for (int state : states)
            app.displayStateChanged(static_cast<DisplayStateWatcher::DisplayState>(state));
        QCOMPARE(seen, signalsSeen);

        // The clock registered for the screens follows the display.
        EBookReaderViewMgr *view = viewOf(app);
        auto *clock = qobject_cast<Timeproperty *>(
            view->rootContext()->contextProperty("timemodel").value<QObject *>());
        QVERIFY(clock);
        QCOMPARE(clock->findChild<QTimer *>()->isActive(), clockRunning);
    }

    void layoutChangedEmitsOnce()
    {
        EBookReaderApp app;
        app.showExpanded();
        EBookReaderViewMgr *view = viewOf(app);
        QVERIFY(QTest::qWaitForWindowExposed(view));

        QSignalSpy widthSpy(view, &EBookReaderViewMgr::widthChanged);
        QSignalSpy heightSpy(view, &EBookReaderViewMgr::heightChanged);
        view->layoutChanged();
        view->layoutChanged();
        QCOMPARE(widthSpy.count(), 1);
        QCOMPARE(heightSpy.count(), 1);

        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(view->getWidth(), screen.width());
        QCOMPARE(view->getHeight(), screen.height());
        // The screens read the measured size through the meta-object, not the window's.
        QCOMPARE(view->property("width").toInt(), screen.width());
        QCOMPARE(view->property("height").toInt(), screen.height());
        QCOMPARE(view->QWindow::width(), 480);
    }

    void closeStoresThePosition()
    {
        BookSource source;
        source.id = "b1";
        source.title = "Long";
        source.chapters = {{"One", QString("A line of the first chapter.\n").repeated(400)}};
        // In the user's book folder, so the shelf takes it into the library at start.
        QVERIFY(QDir().mkpath(UserBookFolder.path()));
        const QString package = UserBookFolder + "/b1.vbp";
        QString error;
        QVERIFY2(BookPacker(source).writeTo(package, &error), qPrintable(error));

        EBookReaderApp app;
        app.showExpanded();
        EBookReaderViewMgr *view = viewOf(app);
        QVERIFY(QTest::qWaitForWindowExposed(view));
        auto *reader = qobject_cast<VEBookReader *>(
            view->rootContext()->contextProperty("bookreader").value<QObject *>());
        QVERIFY(reader);
        QCOMPARE(reader->OpenOneBook("b1", package), 0);
        reader->GetFirstPageContent();
        reader->GetNextOnePageContent();
        QVERIFY(view->close());

        VorelEBookChapterItemData position;
        QVERIFY(VorelEBookDatabaseEngine().GetBookChapterMark("b1", position));
        QCOMPARE(position.m_bookChapterName, "One");
        QCOMPARE(position.m_bookReadingPageNum, 1);
    }

    // The shelf's first frame holds the rows in sight, and the rows around
    // them follow right after it. A cover that cannot be shown gives way to
    // the title; a shown cover has none over it.
    void shelfFirstFrame_data()
    {
        QTest::addColumn<QString>("idStart");
        QTest::addColumn<bool>("coversKept");
        QTest::addColumn<int>("titlesPerBook");
        QTest::newRow("covers") << "s" << true << 1;
        QTest::newRow("cover files gone") << "s" << false << 2;
        // A cover's path is no URL: these stay part of the file name.
        QTest::newRow("ids with URL characters") << "书 #%41?&" << true << 1;
    }

    void shelfFirstFrame()
    {
        QFETCH(QString, idStart);
        QFETCH(bool, coversKept);
        QFETCH(int, titlesPerBook);
        QVERIFY(QDir().mkpath(UserBookFolder.path()));
        for (int i = 0; i < 15; ++i) {
            BookSource source;
            source.id = QStringLiteral("s%1").arg(i, 2, 10, QLatin1Char('0'));
            source.title = QStringLiteral("测试书%1").arg(i);
            source.chapters = {{"一", "月出惊山鸟。"}};
            // The shelf takes the id from the file name, which may hold more
            // than the packer's ids.
            const QString file = idStart + source.id.mid(1) + ".vbp";
            QString error;
            QVERIFY2(BookPacker(source).writeTo(UserBookFolder + "/" + file, &error),
                     qPrintable(error));
        }
        if (!coversKept) {
            // The first start takes the books in and writes their covers.
            {
                EBookReaderApp first;
            }
            for (const QFileInfo &png : QDir(BookInfoFolder.path()).entryInfoList({"*.png"}))
                QVERIFY(QFile::remove(png.filePath()));
        }

        EBookReaderApp app;
        EBookReaderViewMgr *view = viewOf(app);
        QVERIFY(view && view->rootObject());
        auto *grid = view->rootObject()->findChild<QQuickItem *>("shelfGrid");
        QVERIFY(grid);
        const auto cells = [grid] {
            return grid->property("contentItem").value<QQuickItem *>()->childItems().size();
        };
        qsizetype atFirstFrame = -1;
        connect(
            view, &QQuickWindow::frameSwapped, this,
            [&] {
                if (atFirstFrame < 0)
                    atFirstFrame = cells();
            },
            Qt::DirectConnection);
        app.showExpanded();
        QTRY_VERIFY(view->property("firstFrameShown").toBool());
        QVERIFY(atFirstFrame > 0);
        QTRY_VERIFY(cells() > atFirstFrame);

        QCOMPARE(visibleTexts(grid, "测试书0"), titlesPerBook);
    }

private:
    TestDataRoot m_root;
};

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    // Closing a test window must not end the test run.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    TstEBookReaderApp test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ebookreaderapp.moc"
