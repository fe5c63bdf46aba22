#include "ebookreaderapp.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    EBookReaderApp readerApp;
    readerApp.showExpanded();
    return application.exec();
}
