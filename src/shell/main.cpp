#include "ebookreaderapp.h"
#include "termsignalwatcher.h"

#include <QGuiApplication>
#include <QWindow>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    EBookReaderApp readerApp;

    // Asked to stop from outside: close the window as the user would, so the
    // reading position is stored, then leave the event loop.
    TermSignalWatcher termWatcher;
    QObject::connect(&termWatcher, &TermSignalWatcher::terminationRequested, &application, [] {
        for (QWindow *window : QGuiApplication::topLevelWindows())
            window->close();
        QCoreApplication::quit();
    });

    readerApp.showExpanded();
    return application.exec();
}
