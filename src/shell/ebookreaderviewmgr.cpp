#include "ebookreaderviewmgr.h"

#include "ebookreaderapp.h"
#include "timeproperty.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QScreen>

EBookReaderViewMgr::EBookReaderViewMgr(EBookReaderApp *app, QWindow *parent) : QQuickView(parent)
{
    setResizeMode(QQuickView::SizeRootObjectToView);
    // A document that quits closes the window first, so the close path runs.
    connect(engine(), &QQmlEngine::quit, this, &QWindow::close, Qt::QueuedConnection);
    connect(
        engine(), &QQmlEngine::exit, this,
        [this](int code) {
            close();
            QCoreApplication::exit(code);
        },
        Qt::QueuedConnection);
    createEngines(app);
    loadDocument();
}

void EBookReaderViewMgr::createEngines(EBookReaderApp *app)
{
    // Each engine may rely on those built before it, and every name is
    // registered before the document is loaded.
    QQmlContext *context = rootContext();

    // 1. The clock, following activation and the display.
    m_curTime = std::make_unique<Timeproperty>();
    context->setContextProperty(QStringLiteral("timemodel"), m_curTime.get());
    connect(app, &EBookReaderApp::switchToDeactivate, m_curTime.get(), &Timeproperty::deactivate);
    connect(app, &EBookReaderApp::switchToActivate, m_curTime.get(), &Timeproperty::activate);
    connect(app, &EBookReaderApp::sleep, m_curTime.get(), &Timeproperty::sleep);
    connect(app, &EBookReaderApp::wakeup, m_curTime.get(), &Timeproperty::wakeup);

    // 2. The library database engine.
    // 3. The reading engine, handed the database engine.
    // 4. The settings: "ebooksetting".
    // 5. The shelf manager: "bookshelfMgrModel".
    // 6. The bookshelf over the shelf manager and the reading engine:
    //    "shelfListModel", "myBookShelf".
    // 7. The reading engine's names: "listItemModel", "bookreader".
    // 8. The store network manager and its seven store names.
    // 9. The search manager, child of the network manager: its three names.
    // 10. The download manager: "downloadItemModel", "downloadMgr".
    // 11. The purchase manager over the network, download and database
    //     engines: "purchaseMgrModel".
    // 12. Finished downloads go to the shelf manager.
}

void EBookReaderViewMgr::loadDocument()
{
    // 13. No existence test: a missing document leaves the view empty.
    setSource(QUrl::fromLocalFile(documentPath()));
}

QString EBookReaderViewMgr::documentPath()
{
    return QCoreApplication::applicationDirPath() + "/../" +
           "qml/ZarvoReader/EBookReaderContainer.qml";
}

EBookReaderViewMgr::~EBookReaderViewMgr()
{
    // The document goes first, so no binding reads an engine being deleted.
    setSource(QUrl());

    // "ebooksetting" is set to null here; the engines go in this order:
    // clock, settings, reading engine, shelf manager, purchase manager,
    // bookshelf, database engine, download manager, search manager (through
    // the network manager), network manager.
    m_curTime.reset();
}

void EBookReaderViewMgr::layoutChanged()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect geometry = screen->geometry();
    const int width = geometry.right() - geometry.left() + 1;
    const int height = geometry.bottom() - geometry.top() + 1;
    if (width != m_width) {
        m_width = width;
        emit widthChanged();
    }
    if (height != m_height) {
        m_height = height;
        emit heightChanged();
    }
}

void EBookReaderViewMgr::closeEvent(QCloseEvent *event)
{
    // The reading engine stores the open book's reading position here.
    event->accept();
}
