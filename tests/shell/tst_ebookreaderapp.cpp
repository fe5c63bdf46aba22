// The real start-up in-process under the offscreen platform: folders, the
// top-level document, the registered names, activation and display events,
// the layout size and the close path.

#include "commondef.h"
#include "ebookreaderapp.h"
#include "ebookreaderviewmgr.h"
#include "testdataroot.h"
#include "timeproperty.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QQmlComponent>
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

// Records that a close reached the view's close handler.
class RecordingViewMgr : public EBookReaderViewMgr
{
public:
    using EBookReaderViewMgr::EBookReaderViewMgr;
    int closeCalls = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++closeCalls;
        EBookReaderViewMgr::closeEvent(event);
    }
};

} // namespace

class TstEBookReaderApp : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void startUpCreatesFoldersOnce();
    void unusableRootStillStarts();
    void documentLoads();
    void contextProperties_data();
    void contextProperties();
    void eventFilterNeverSwallows_data();
    void eventFilterNeverSwallows();
    void displayState_data();
    void displayState();
    void layoutChangedEmitsOnce();
    void closeRunsTheClosePath();

private:
    TestDataRoot m_root;
};

void TstEBookReaderApp::init()
{
    QVERIFY(m_root.renew());
}

void TstEBookReaderApp::startUpCreatesFoldersOnce()
{
    QVERIFY(!QDir(BookInfoFolder.path()).exists());
    {
        EBookReaderApp app;
    }
    for (const QString &folder : {BookInfoFolder.path(), BookFolder.path(), UserBookFolder.path()})
        QVERIFY2(QDir(folder).exists(), qPrintable(folder));
    QCOMPARE(BookInfoFolder.path(), m_root.path() + "/home/user/ZarvoReader");
    QCOMPARE(BookFolder.path(), m_root.path() + "/home/user/MyDocs/ZarvoReader");

    // A second start with the folders present leaves them and their contents.
    QFile marker(BookFolder + "/marker.vbp");
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.write("x");
    marker.close();
    const QStringList before = QDir(m_root.path() + "/home/user").entryList(QDir::AllEntries);
    {
        EBookReaderApp app;
    }
    QCOMPARE(QDir(m_root.path() + "/home/user").entryList(QDir::AllEntries), before);
    QCOMPARE(QDir(BookFolder.path()).entryList(QDir::Files), QStringList{"marker.vbp"});
}

void TstEBookReaderApp::unusableRootStillStarts()
{
    // The root is a plain file: no folder can be made below it.
    const QString file = m_root.filePath("plainfile");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    qputenv("ZARVOREADER_ROOT", file.toLocal8Bit());
    EBookReaderApp app;
    QVERIFY(!QDir(BookInfoFolder.path()).exists());
    EBookReaderViewMgr *view = viewOf(app);
    QVERIFY(view);
    QCOMPARE(view->status(), QQuickView::Ready);
}

void TstEBookReaderApp::documentLoads()
{
    EBookReaderApp app;
    EBookReaderViewMgr *view = viewOf(app);
    QVERIFY(view);
    QCOMPARE(view->source(), QUrl::fromLocalFile(EBookReaderViewMgr::documentPath()));
    QVERIFY2(view->status() == QQuickView::Ready,
             qPrintable(view->errors().isEmpty() ? QString() : view->errors().first().toString()));
    QVERIFY(view->rootObject());
    QCOMPARE(view->resizeMode(), QQuickView::SizeRootObjectToView);

    app.showExpanded();
    QVERIFY(QTest::qWaitForWindowExposed(view));
    // The offscreen screen is square, so the view is a phone-sized window.
    QCOMPARE(view->QWindow::size(), QSize(480, 800));
    QCOMPARE(view->rootObject()->size(), QSizeF(480, 800));
}

void TstEBookReaderApp::contextProperties_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name :
         {"timemodel",      "ebooksetting",      "bookshelfMgrModel",    "shelfListModel",
          "myBookShelf",    "listItemModel",     "bookreader",           "titlemodelQt",
          "recomodelQt",    "bookmodelQt",       "recommenddetailmodel", "bookInfoModel",
          "accountmodel",   "bookNetMgr",        "keySearchModel",       "resultSearchModel",
          "searchMgrModel", "downloadItemModel", "downloadMgr",          "purchaseMgrModel"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TstEBookReaderApp::contextProperties()
{
    QFETCH(QString, name);
    EBookReaderApp app;
    EBookReaderViewMgr *view = viewOf(app);
    QVERIFY(view && view->rootObject());
    if (name != "timemodel" && !view->rootContext()->contextProperty(name).isValid())
        QSKIP("the engine behind this name is not part of this build yet");

    // Evaluated where the document's own bindings are.
    QQmlExpression expression(qmlContext(view->rootObject()), view->rootObject(), name);
    const QVariant value = expression.evaluate();
    QVERIFY2(!expression.hasError(), qPrintable(expression.error().toString()));
    QVERIFY(value.value<QObject *>() != nullptr);
}

void TstEBookReaderApp::eventFilterNeverSwallows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("activations");
    QTest::addColumn<int>("deactivations");

    QTest::newRow("activate") << int(QEvent::ApplicationActivate) << -1 << 1 << 0;
    QTest::newRow("deactivate") << int(QEvent::ApplicationDeactivate) << -1 << 0 << 1;
    QTest::newRow("state active") << int(QEvent::ApplicationStateChange)
                                  << int(Qt::ApplicationActive) << 1 << 0;
    QTest::newRow("state inactive")
        << int(QEvent::ApplicationStateChange) << int(Qt::ApplicationInactive) << 0 << 1;
    QTest::newRow("state suspended")
        << int(QEvent::ApplicationStateChange) << int(Qt::ApplicationSuspended) << 0 << 1;
    QTest::newRow("unrelated") << int(QEvent::User) << -1 << 0 << 0;
}

void TstEBookReaderApp::eventFilterNeverSwallows()
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

void TstEBookReaderApp::displayState_data()
{
    QTest::addColumn<QList<int>>("states");
    QTest::addColumn<QStringList>("signalsSeen");
    QTest::addColumn<bool>("clockRunning");

    QTest::newRow("off then on") << QList<int>{-1, 1} << QStringList{"sleep", "wakeup"} << true;
    QTest::newRow("off") << QList<int>{-1} << QStringList{"sleep"} << false;
    QTest::newRow("dimmed") << QList<int>{0} << QStringList{} << true;
    QTest::newRow("off then dimmed") << QList<int>{-1, 0} << QStringList{"sleep"} << false;
    QTest::newRow("unknown values") << QList<int>{7, -2} << QStringList{} << true;
}

void TstEBookReaderApp::displayState()
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

void TstEBookReaderApp::layoutChangedEmitsOnce()
{
    EBookReaderApp app;
    app.showExpanded();
    EBookReaderViewMgr *view = viewOf(app);
    QVERIFY(QTest::qWaitForWindowExposed(view));

    // A probe inside the document reads the view the way a screen would.
    QQmlComponent probeComponent(view->engine());
    probeComponent.setData("import QtQuick\nItem { property int w: Window.window ? "
                           "Window.window.width : -1; property int h: Window.window ? "
                           "Window.window.height : -1 }",
                           QUrl());
    std::unique_ptr<QObject> probeObject(probeComponent.create(view->rootContext()));
    QVERIFY2(probeObject, qPrintable(probeComponent.errorString()));
    auto *probe = qobject_cast<QQuickItem *>(probeObject.get());
    probe->setParentItem(view->rootObject());
    QTRY_COMPARE(probe->property("w").toInt(), 0);
    QCOMPARE(probe->property("h").toInt(), 0);

    QSignalSpy widthSpy(view, &EBookReaderViewMgr::widthChanged);
    QSignalSpy heightSpy(view, &EBookReaderViewMgr::heightChanged);
    view->layoutChanged();
    view->layoutChanged();
    QCOMPARE(widthSpy.count(), 1);
    QCOMPARE(heightSpy.count(), 1);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(view->getWidth(), screen.width());
    QCOMPARE(view->getHeight(), screen.height());
    // The meta-object and the screens see the measured size, not the window's.
    QCOMPARE(view->property("width").toInt(), screen.width());
    QCOMPARE(view->property("height").toInt(), screen.height());
    QCOMPARE(probe->property("w").toInt(), screen.width());
    QCOMPARE(probe->property("h").toInt(), screen.height());
    QCOMPARE(view->QWindow::width(), 480);
}

void TstEBookReaderApp::closeRunsTheClosePath()
{
    EBookReaderApp app;
    RecordingViewMgr view(&app, nullptr);
    QCOMPARE(view.status(), QQuickView::Ready);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QVERIFY(view.close());
    QCOMPARE(view.closeCalls, 1);
    QVERIFY(!view.isVisible());
}

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    // Closing a test window must not end the test run.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    TstEBookReaderApp test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ebookreaderapp.moc"
