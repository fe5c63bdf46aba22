#include "ebookreaderapp.h"
#include "termsignalwatcher.h"

#include <QGuiApplication>
#include <QWindow>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);

    // Asked to stop from outside: close the window as the user would, so the
    // reading position is stored, then leave the event loop. Watched from
    // before start-up, so a request during it is handled once the loop runs.
    TermSignalWatcher termWatcher;
    QObject::connect(&termWatcher, &TermSignalWatcher::terminationRequested, &application, [] {
        for (QWindow *window : QGuiApplication::topLevelWindows())
            window->close();
        QCoreApplication::quit();
    });

    EBookReaderApp readerApp;
    readerApp.showExpanded();
    return application.exec();
}
