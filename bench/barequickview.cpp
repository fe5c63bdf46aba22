// The reference of the whole-process figures (bench/wholeprocess.sh): a bare
// QQuickView showing one text, which quits on its first swapped frame. It
// shares the reader's platform, scene graph back end and window size, so what
// the reader spends beyond it is the reader's own.

#include <QDir>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickView>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);

    QQuickView view;
    static const QByteArray document = "import QtQuick\n"
                                       "Text { text: \"书架\"; font.pixelSize: 24 }\n";
    auto *component = new QQmlComponent(view.engine(), &view);
    // A local URL keeps the compile synchronous; the file is never read.
    component->setData(document, QUrl::fromLocalFile(QDir::tempPath() + "/bare.qml"));
    QObject *text = component->create();
    if (!text) {
        qWarning("barequickview: %s", qPrintable(component->errorString()));
        return 1;
    }
    view.setContent(component->url(), component, text);
    // Queued, as the reader does it: the frame is finished before the loop ends.
    QObject::connect(&view, &QQuickWindow::frameSwapped, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    view.resize(480, 800);
    view.show();
    return application.exec();
}
