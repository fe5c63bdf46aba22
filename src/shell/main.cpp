#include "ebookreaderapp.h"
#include "readercommandline.h"
#include "scriptedrun.h"
#include "termsignalwatcher.h"
#include "translationloader.h"

#include <QGuiApplication>
#include <QWindow>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationVersion(QStringLiteral(ZR_VERSION));
    // Help and version need no display: answered before the window system starts.
    if (ReaderCommandLine::asksForText(argc, argv)) {
        QCoreApplication textOnly(argc, argv);
        return ReaderCommandLine::process(QCoreApplication::arguments());
    }
    QGuiApplication application(argc, argv);
    // The window names its desktop entry, so the launcher's icon is the window's.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zarvoreader.ZarvoReader"));
    const int lineResult = ReaderCommandLine::process(QCoreApplication::arguments());
    if (lineResult != ReaderCommandLine::Run)
        return lineResult;

    // Asked to stop from outside: close the window as the user would, so the
    // reading position is stored, then leave the event loop. Watched from
    // before start-up, so a request during it is handled once the loop runs.
    TermSignalWatcher termWatcher;
    QObject::connect(&termWatcher, &TermSignalWatcher::terminationRequested, &application, [] {
        for (QWindow *window : QGuiApplication::topLevelWindows())
            window->close();
        QCoreApplication::quit();
    });

    // The screens speak the user's language: Chinese, or else English.
    TranslationLoader translations;
    translations.load();

    EBookReaderApp readerApp;
    readerApp.showExpanded();
    // Set only when driven from outside: measured (bench/wholeprocess.sh) or
    // an installed copy checked without a display (the package test).
    const auto scriptedRun = ScriptedRun::fromEnvironment();
    return application.exec();
}
