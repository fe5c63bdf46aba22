#include "ebookreaderviewmgr.h"

#include "booksearchmodel.h"
#include "colorscheme.h"
#include "coverimageprovider.h"
#include "downloadmng.h"
#include "ebookreaderapp.h"
#include "ebookreadernetmgr.h"
#include "ebooksetting.h"
#include "mybookshelf.h"
#include "onlinewatcher.h"
#include "purchasemanager.h"
#include "readingprogress.h"
#include "screeninhibitor.h"
#include "searchbookmgr.h"
#include "timeproperty.h"
#include "vebookreader.h"
#include "vorelebookdatabaseengine.h"
#include "vorelebookshelfmgr.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QScreen>

EBookReaderViewMgr::EBookReaderViewMgr(EBookReaderApp *app, QWindow *parent) : QQuickView(parent)
{
    setResizeMode(QQuickView::SizeRootObjectToView);
    // Queued: the swap may be reported from the render thread.
    connect(this, &QQuickWindow::frameSwapped, this, &EBookReaderViewMgr::noteFirstFrame,
            Qt::QueuedConnection);
    // A document that quits closes the window first, so the close path runs.
    connect(engine(), &QQmlEngine::quit, this, &QWindow::close, Qt::QueuedConnection);
    connect(
        engine(), &QQmlEngine::exit, this,
        [this](int code) {
            close();
            QCoreApplication::exit(code);
        },
        Qt::QueuedConnection);
    // The engine owns the provider.
    engine()->addImageProvider(QStringLiteral("cover"), new CoverImageProvider);
    createEngines(app);
    loadDocument();
}

void EBookReaderViewMgr::createEngines(EBookReaderApp *app)
{
    // Each engine may rely on those built before it, and every name is
    // registered before the document is loaded.
    QQmlContext *context = rootContext();
    // Only the store and the downloads watch the network: its back end is
    // loaded once the shelf is on screen, or when one of them first asks.
    OnlineWatcher::deferBackend();

    // 1. The clock, following activation and the display.
    m_curTime = std::make_unique<Timeproperty>();
    context->setContextProperty(QStringLiteral("timemodel"), m_curTime.get());
    connect(app, &EBookReaderApp::switchToDeactivate, m_curTime.get(), &Timeproperty::deactivate);
    connect(app, &EBookReaderApp::switchToActivate, m_curTime.get(), &Timeproperty::activate);
    connect(app, &EBookReaderApp::sleep, m_curTime.get(), &Timeproperty::sleep);
    connect(app, &EBookReaderApp::wakeup, m_curTime.get(), &Timeproperty::wakeup);

    // 2. The library database engine.
    m_db = std::make_unique<VorelEBookDatabaseEngine>(nullptr);

    // 3. The reading engine, handed the database engine.
    m_myBookReader = std::make_unique<VEBookReader>();
    VorelEBookDatabaseEngine *db = m_db.get();
    m_myBookReader->SetDBEngine(db);

    // 4. The settings: "ebooksetting".
    m_setting = std::make_unique<EBookSetting>(nullptr);
    context->setContextProperty(QStringLiteral("ebooksetting"), m_setting.get());

    // 5. The shelf manager: "bookshelfMgrModel".
    m_bookShelfMgr = std::make_unique<VorelEBookShelfMgr>(nullptr);
    m_bookShelfMgr->setDeclarativeView(*this);

    // 6. The bookshelf over the shelf manager and the reading engine; its
    //    constructor scans the book folders: "shelfListModel", "myBookShelf".
    m_myBookShelf = std::make_unique<MyBookShelf>(*m_bookShelfMgr, *m_myBookReader);
    m_myBookShelf->setDeclarativeView(*this);

    // 7. The reading engine's names: "listItemModel", "bookreader".
    m_myBookReader->setDeclarativeView(*this);

    // Search inside the open book, over the reading engine and the library:
    // "bookSearch". A child of the view, gone with it.
    auto *bookSearch = new BookSearchModel(*m_myBookReader, *db, this);
    bookSearch->setDeclarativeView(*this);

    createNightReading();

    // 8. The store network manager and its seven store names.
    m_bookReaderNetMgr = std::make_unique<EBookReaderNetMgr>(nullptr);
    m_bookReaderNetMgr->setDeclarativeView(*this);

    // 9. The search manager, child of the network manager: its three names.
    m_searchBookMgr = new SearchBookMgr(m_bookReaderNetMgr.get());
    m_searchBookMgr->setDeclarativeView(*this);

    // 10. The download manager: "downloadItemModel", "downloadMgr".
    m_downloadMng = std::make_unique<DownLoadMng>(nullptr);
    m_downloadMng->setDeclarativeView(*this);

    // 11. The purchase manager over the network, download and database
    //     engines: "purchaseMgrModel".
    m_purchaseMgr = std::make_unique<purchaseManager>(*m_bookReaderNetMgr, *m_downloadMng, *db);
    m_purchaseMgr->setDeclarativeView(*this);

    // 12. Finished downloads go to the shelf manager, which hands them to the
    //     bookshelf.
    m_bookShelfMgr->setDownloadManager(m_downloadMng.get());
}

void EBookReaderViewMgr::createNightReading()
{
    // "readingProgress" over the reading engine and the library, "colorScheme"
    // as kept in the settings file, "screenInhibitor" for the reading screen.
    QQmlContext *context = rootContext();
    m_readingProgress = std::make_unique<ReadingProgress>(*m_myBookReader, *m_db);
    context->setContextProperty(QStringLiteral("readingProgress"), m_readingProgress.get());
    m_colorScheme = std::make_unique<ColorScheme>();
    m_colorScheme->setMode(m_setting->getColorScheme());
    connect(m_colorScheme.get(), &ColorScheme::modeChanged, m_setting.get(),
            &EBookSetting::setColorScheme);
    context->setContextProperty(QStringLiteral("colorScheme"), m_colorScheme.get());
    m_screenInhibitor = std::make_unique<ScreenInhibitor>();
    context->setContextProperty(QStringLiteral("screenInhibitor"), m_screenInhibitor.get());
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
    // bookshelf, database engine, download manager, search manager, network
    // manager.
    rootContext()->setContextProperty(QStringLiteral("ebooksetting"), nullptr);
    // Ours go before the engines they read.
    for (const char *name : {"readingProgress", "colorScheme", "screenInhibitor"})
        rootContext()->setContextProperty(QLatin1String(name), nullptr);
    m_readingProgress.reset();
    m_colorScheme.reset();
    m_screenInhibitor.reset();
    m_curTime.reset();
    m_setting.reset();
    m_myBookReader.reset();
    m_bookShelfMgr.reset();
    m_purchaseMgr.reset();
    m_myBookShelf.reset();
    m_db.reset();
    m_downloadMng.reset();
    delete m_searchBookMgr;
    m_searchBookMgr = nullptr;
    m_bookReaderNetMgr.reset();
}

void EBookReaderViewMgr::noteFirstFrame()
{
    if (m_firstFrameShown)
        return;
    m_firstFrameShown = true;
    disconnect(this, &QQuickWindow::frameSwapped, this, &EBookReaderViewMgr::noteFirstFrame);
    emit firstFrameShownChanged();
    OnlineWatcher::loadBackend();
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
    if (m_myBookReader)
        m_myBookReader->StartUpListView();
    if (m_readingProgress)
        m_readingProgress->store();
    event->accept();
}
