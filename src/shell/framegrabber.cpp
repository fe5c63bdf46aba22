#include "framegrabber.h"

#include <QGuiApplication>
#include <QImage>
#include <QQuickWindow>
#include <cstdio>

std::unique_ptr<FrameGrabber> FrameGrabber::fromEnvironment()
{
    const QString file = qEnvironmentVariable("ZARVOREADER_GRAB_FRAME");
    if (file.isEmpty())
        return nullptr;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (auto *quickWindow = qobject_cast<QQuickWindow *>(window))
            return std::unique_ptr<FrameGrabber>(new FrameGrabber(*quickWindow, file));
    }
    return nullptr;
}

FrameGrabber::FrameGrabber(QQuickWindow &window, const QString &file)
    : m_window(window), m_file(file)
{
    // Queued: the picture is taken on the GUI thread, after the swap.
    connect(&window, &QQuickWindow::frameSwapped, this, &FrameGrabber::grab, Qt::QueuedConnection);
}

void FrameGrabber::grab()
{
    disconnect(&m_window, nullptr, this, nullptr);
    const bool saved = m_window.grabWindow().save(m_file, "PNG");
    if (!saved)
        std::fprintf(stderr, "zarvoreader: cannot write %s\n", qPrintable(m_file));
    m_window.close();
    QCoreApplication::exit(saved ? 0 : 1);
}
