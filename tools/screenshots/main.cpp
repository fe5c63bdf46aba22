// Renders every screen of the reader to PNG files without a display:
//   zarvoshots DIR
// The real application object is built, so the screens see the same engines
// and names as when the reader runs. The top-level item lists its screens in
// `screenNames`, shows one with `showScreen(name)` and holds `screenPending`
// while that screen still waits for the store. The screens speak the
// language of the locale, as the reader's do (LANGUAGE=en for English).

#include "ebookreaderapp.h"
#include "ebookreaderviewmgr.h"
#include "slowlink.h"
#include "translationloader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QQmlError>
#include <QQuickItem>
#include <QTextStream>
#include <QTimer>

namespace {

const int ShotWidth = 480;
const int ShotHeight = 800;
const int SettleMs = 300;
// A screen that needs the store's answers (or a download) raises the root's
// `screenPending` until they came; past this it is shot as it stands.
const int PendingLimitMs = 30000;
// Book packages reach the reader at 50 KB/s, in steps small enough that a
// book of a few dozen kilobytes reports progress before it is complete.
const int LinkStepBytes = 512;
const int LinkStepMs = 10;

void setDefaultEnv(const char *name, const char *value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}

EBookReaderViewMgr *findView()
{
    for (QWindow *window : QGuiApplication::allWindows()) {
        if (auto *view = qobject_cast<EBookReaderViewMgr *>(window))
            return view;
    }
    return nullptr;
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void waitWhilePending(QQuickItem *root)
{
    QElapsedTimer clock;
    clock.start();
    while (root->property("screenPending").toBool() && clock.elapsed() < PendingLimitMs)
        settle(50);
}

// The document is loaded synchronously from a local file, but a remote or
// asynchronous one may still be loading.
bool waitUntilLoaded(EBookReaderViewMgr *view)
{
    if (view->status() == QQuickView::Loading) {
        QEventLoop loop;
        QObject::connect(view, &QQuickView::statusChanged, &loop, [&loop](QQuickView::Status s) {
            if (s != QQuickView::Loading)
                loop.quit();
        });
        loop.exec();
    }
    return view->status() == QQuickView::Ready && view->rootObject();
}

// Puts the slow link between the reader and the store ($ZARVOREADER_STORE,
// else the default address), so a download is seen under way. The store's
// package links name the address its answers were told to use; a store
// started with the relay's address there ($ZR_SHOTS_RELAY_PORT, the port the
// relay then takes) sends its downloads through the relay too.
bool slowDownTheStore(SlowLink &link)
{
    const QString store =
        qEnvironmentVariable("ZARVOREADER_STORE", QStringLiteral("127.0.0.1:8080"));
    bool ok = false;
    const int port = store.section(QLatin1Char(':'), -1).toInt(&ok);
    const int relayPort = qEnvironmentVariableIntValue("ZR_SHOTS_RELAY_PORT");
    if (!ok || port <= 0 || port > 65535 || relayPort < 0 || relayPort > 65535 ||
        !link.listen(quint16(port), LinkStepBytes, LinkStepMs, quint16(relayPort)))
        return false;
    qputenv("ZARVOREADER_STORE", link.hostPort().toUtf8());
    return true;
}

int fail(const QString &message)
{
    QTextStream(stderr) << "zarvoshots: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    setDefaultEnv("QT_QPA_PLATFORM", "offscreen");
    setDefaultEnv("QT_QUICK_BACKEND", "software");
    QGuiApplication application(argc, argv);
    TranslationLoader translations;
    translations.load();

    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2)
        return fail(QStringLiteral("usage: zarvoshots DIR"));
    const QString outDir = args.at(1);
    if (!QDir().mkpath(outDir))
        return fail(QStringLiteral("cannot create %1").arg(outDir));

    SlowLink link;
    if (!slowDownTheStore(link))
        return fail(QStringLiteral("cannot put a relay in front of the store"));

    EBookReaderApp readerApp;
    readerApp.showExpanded();
    EBookReaderViewMgr *view = findView();
    if (!view)
        return fail(QStringLiteral("the reader built no view"));
    view->resize(ShotWidth, ShotHeight);

    if (!waitUntilLoaded(view)) {
        QTextStream err(stderr);
        err << "zarvoshots: the document " << EBookReaderViewMgr::documentPath()
            << " did not load\n";
        for (const QQmlError &error : view->errors())
            err << "  " << error.toString() << '\n';
        return 1;
    }

    QQuickItem *root = view->rootObject();
    const QStringList names = root->property("screenNames").toStringList();
    if (names.isEmpty())
        return fail(QStringLiteral("the document lists no screens in screenNames"));

    QTextStream out(stdout);
    for (int i = 0; i < names.size(); ++i) {
        const QString &name = names.at(i);
        if (!QMetaObject::invokeMethod(root, "showScreen", Q_ARG(QVariant, name)))
            return fail(QStringLiteral("showScreen(\"%1\") could not be called").arg(name));
        waitWhilePending(root);
        settle(SettleMs);
        const QImage image = view->grabWindow();
        const QString path = QDir(outDir).filePath(
            QStringLiteral("%1-%2.png").arg(i + 1, 2, 10, QLatin1Char('0')).arg(name));
        if (image.isNull() || !image.save(path))
            return fail(QStringLiteral("cannot write %1").arg(path));
        out << path << '\n';
        out.flush();
    }
    return 0;
}
