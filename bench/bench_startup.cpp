// Cold start of the application object to the first shelf frame with 200
// books on the shelf, beside a bare view showing one text to its first frame.
//   restart with all books known   the library database already lists them
//   first scan                     no database and no extracted covers yet
// Every run builds its own data root; the packages are made once, outside
// the timed part.

#include "bookpacker.h"
#include "commondef.h"
#include "ebookreaderapp.h"
#include "ebookreaderviewmgr.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

constexpr int ShelfBooks = 200;
constexpr int Iterations = 6;
// A start that shows nothing within this long is reported as failed.
constexpr int FrameTimeoutMs = 60000;

struct StartupBench
{
    std::unique_ptr<QTemporaryDir> root;
    QString error;
};

StartupBench &setup()
{
    static StartupBench instance;
    return instance;
}

BookSource bookSource(int index)
{
    static const QString titles[] = {QStringLiteral("春江花月夜"), QStringLiteral("山居秋暝"),
                                     QStringLiteral("将进酒"), QStringLiteral("登鹳雀楼"),
                                     QStringLiteral("静夜思")};
    static const QString authors[] = {QStringLiteral("张若虚"), QStringLiteral("王维"),
                                      QStringLiteral("李白"), QStringLiteral("王之涣")};
    BookSource source;
    source.id = QStringLiteral("shelf-%1").arg(index, 3, 10, QLatin1Char('0'));
    source.title = QStringLiteral("%1 %2").arg(titles[index % 5]).arg(index + 1);
    source.author = authors[index % 4];
    source.publisher = QStringLiteral("Bench");
    source.description = QStringLiteral("第%1本书").arg(index + 1);
    source.chapters.append({QStringLiteral("第一章"), QString(1500, QChar(0x6C5F + index % 7))});
    source.chapters.append({QStringLiteral("第二章"), QStringLiteral("月出惊山鸟，时鸣春涧中。")});
    return source;
}

bool packBooks(QString *error)
{
    const QString folder = PreInstallBookFolder;
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    for (int i = 0; i < ShelfBooks; ++i) {
        const BookSource source = bookSource(i);
        if (!BookPacker(source).writeTo(folder + "/" + source.id + ".vbp", error))
            return false;
    }
    return true;
}

// The shelf page's grid, once the view has its document.
QQuickItem *shelfGrid(QQuickView &view)
{
    QQuickItem *root = view.rootObject();
    return root ? root->findChild<QQuickItem *>(QStringLiteral("shelfGrid")) : nullptr;
}

bool gridHoldsRows(QQuickView &view)
{
    QQuickItem *grid = shelfGrid(view);
    if (!grid || grid->property("count").toInt() < ShelfBooks)
        return false;
    // Delegates exist: the grid has laid out its first rows.
    const auto *content = grid->property("contentItem").value<QQuickItem *>();
    return content && !content->childItems().isEmpty();
}

EBookReaderViewMgr *viewOf(const EBookReaderApp &)
{
    // The application object keeps its view private; it is the one window of
    // its class while the application object exists.
    for (QWindow *window : QGuiApplication::allWindows())
        if (auto *view = qobject_cast<EBookReaderViewMgr *>(window))
            return view;
    return nullptr;
}

// Runs the event loop until a frame is swapped for which ready() holds;
// the elapsed time of that swap on the given clock, or -1 on timeout.
template <typename Ready>
qint64 waitForFrame(QQuickWindow &window, const QElapsedTimer &clock, Ready ready)
{
    QEventLoop loop;
    qint64 swappedAt = -1;
    // Direct: the software render loop swaps on this thread, and the clock is
    // read at the swap, not when a queued call would arrive.
    const QMetaObject::Connection swapped = QObject::connect(
        &window, &QQuickWindow::frameSwapped, &loop,
        [&] {
            if (swappedAt >= 0 || !ready())
                return;
            swappedAt = clock.nsecsElapsed();
            loop.quit();
        },
        Qt::DirectConnection);
    QTimer::singleShot(FrameTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(swapped);
    return swappedAt;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// One start: true with the seconds to the first shelf frame.
bool startOnce(double *seconds)
{
    QElapsedTimer clock;
    clock.start();
    auto app = std::make_unique<EBookReaderApp>();
    app->showExpanded();
    EBookReaderViewMgr *view = viewOf(*app);
    const qint64 at =
        view ? waitForFrame(*view, clock, [view] { return gridHoldsRows(*view); }) : -1;
    app.reset();
    flushDeletes();
    if (at < 0)
        return false;
    *seconds = double(at) / 1e9;
    return true;
}

void removeLibraryState()
{
    QDir(QString(DbFolder)).removeRecursively();
    QDir(QString(BookInfoFolder)).removeRecursively();
}

void BM_StartupShelf(benchmark::State &state)
{
    // One start outside the timing, so the database knows every book.
    double seconds = 0;
    if (!startOnce(&seconds)) {
        state.SkipWithError("the first start showed no shelf");
        return;
    }
    for (auto _ : state) {
        if (!startOnce(&seconds)) {
            state.SkipWithError("no shelf frame");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["books"] = ShelfBooks;
}

void BM_StartupShelfFirstScan(benchmark::State &state)
{
    double seconds = 0;
    for (auto _ : state) {
        removeLibraryState();
        if (!startOnce(&seconds)) {
            state.SkipWithError("no shelf frame");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["books"] = ShelfBooks;
}

// A bare view with an inline document holding one text, to its first frame.
void BM_StartupShelf_Reference(benchmark::State &state)
{
    static const QByteArray document = "import QtQuick\n"
                                       "Text { text: \"书架\"; font.pixelSize: 24 }\n";
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto view = std::make_unique<QQuickView>();
        auto *component = new QQmlComponent(view->engine(), view.get());
        // A local URL keeps the compile synchronous; the file is never read.
        component->setData(document, QUrl::fromLocalFile(QDir::tempPath() + "/reference.qml"));
        QObject *text = component->create();
        if (!text) {
            state.SkipWithError(qPrintable(component->errorString()));
            return;
        }
        view->setContent(component->url(), component, text);
        view->resize(480, 800);
        view->show();
        const qint64 at = waitForFrame(*view, clock, [] { return true; });
        view.reset();
        flushDeletes();
        if (at < 0) {
            state.SkipWithError("no reference frame");
            return;
        }
        state.SetIterationTime(double(at) / 1e9);
    }
}

// The same bare view, so the first-scan row has its reference beside it.
void BM_StartupShelfFirstScan_Reference(benchmark::State &state)
{
    BM_StartupShelf_Reference(state);
}

bool prepare(StartupBench &b)
{
    b.root = std::make_unique<QTemporaryDir>();
    if (!b.root->isValid()) {
        b.error = QStringLiteral("no temporary folder");
        return false;
    }
    qputenv("ZARVOREADER_ROOT", QFile::encodeName(b.root->path()));
    if (!packBooks(&b.error))
        return false;
    if (!QFile::exists(EBookReaderViewMgr::documentPath())) {
        b.error = QStringLiteral("no document at %1 (build the zr_qml target)")
                      .arg(EBookReaderViewMgr::documentPath());
        return false;
    }
    return true;
}

void setDefaultEnv(const char *name, const char *value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}

} // namespace

BENCHMARK(BM_StartupShelf)->UseManualTime()->Iterations(Iterations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupShelf_Reference)
    ->UseManualTime()
    ->Iterations(Iterations)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupShelfFirstScan)
    ->UseManualTime()
    ->Iterations(Iterations)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupShelfFirstScan_Reference)
    ->UseManualTime()
    ->Iterations(Iterations)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    setDefaultEnv("QT_QPA_PLATFORM", "offscreen");
    setDefaultEnv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!prepare(setup())) {
        std::fprintf(stderr, "bench_startup: %s\n", qPrintable(setup().error));
        return 1;
    }
    std::printf("shelf: %d books in %s\n", ShelfBooks, qPrintable(QString(PreInstallBookFolder)));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
