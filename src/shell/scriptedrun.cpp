#include "scriptedrun.h"

#include <QGuiApplication>
#include <QImage>
#include <QQuickItem>
#include <QQuickView>
#include <QThread>
#include <cstdio>

namespace {
const int StallMs = 10000;
} // namespace

std::unique_ptr<ScriptedRun> ScriptedRun::fromEnvironment()
{
    const int pages = qEnvironmentVariableIntValue("ZARVOREADER_READ_PAGES");
    const QString grabFile = qEnvironmentVariable("ZARVOREADER_GRAB_FRAME");
    if (pages <= 0 && grabFile.isEmpty() &&
        qEnvironmentVariableIntValue("ZARVOREADER_EXIT_ON_FIRST_FRAME") <= 0)
        return nullptr;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (auto *view = qobject_cast<QQuickView *>(window))
            return std::unique_ptr<ScriptedRun>(new ScriptedRun(
                *view, pages, qEnvironmentVariable("ZARVOREADER_READ_BOOK"), grabFile));
    }
    return nullptr;
}

ScriptedRun::ScriptedRun(QQuickView &view, int pages, const QString &title, const QString &grabFile)
    : m_view(view), m_pages(pages), m_title(title), m_grabFile(grabFile)
{
    // Direct: counted on the render thread's swap; the step itself is queued.
    connect(&view, &QQuickWindow::frameSwapped, this, &ScriptedRun::frameSwapped,
            Qt::DirectConnection);
    m_stall.setSingleShot(true);
    m_stall.setInterval(StallMs);
    connect(&m_stall, &QTimer::timeout, this, [this] {
        std::fprintf(stderr, "zarvoreader: no frame for %d ms after %d pages\n", StallMs, m_turned);
        finish(2);
    });
    m_stall.start();
}

void ScriptedRun::frameSwapped()
{
    // A start ends at its first frame: nothing queued behind it (such as the
    // work the screens leave until then) counts.
    if (m_pages <= 0 && m_grabFile.isEmpty() && QThread::currentThread() == thread()) {
        QCoreApplication::exit(0);
        return;
    }
    if (m_stepQueued.exchange(true))
        return;
    QMetaObject::invokeMethod(this, &ScriptedRun::nextStep, Qt::QueuedConnection);
}

void ScriptedRun::nextStep()
{
    m_stepQueued = false;
    m_stall.start();
    QQuickItem *root = m_view.rootObject();
    if (!m_grabFile.isEmpty()) {
        finish(grab() ? 0 : 1);
        return;
    }
    if (m_pages <= 0 || !root || m_turned >= m_pages) {
        finish(root ? 0 : 1);
        return;
    }
    if (m_turned < 0) {
        QVariant opened;
        QMetaObject::invokeMethod(root, "openBookNamed", Q_RETURN_ARG(QVariant, opened),
                                  Q_ARG(QVariant, m_title));
        if (!opened.toBool()) {
            std::fprintf(stderr, "zarvoreader: cannot open \"%s\"\n", qPrintable(m_title));
            finish(1);
            return;
        }
        m_turned = 0;
        return;
    }
    auto *page = root->property("currentScreen").value<QQuickItem *>();
    if (!page || !QMetaObject::invokeMethod(page, "nextPage")) {
        finish(1);
        return;
    }
    ++m_turned;
}

bool ScriptedRun::grab()
{
    if (m_view.grabWindow().save(m_grabFile, "PNG"))
        return true;
    std::fprintf(stderr, "zarvoreader: cannot write %s\n", qPrintable(m_grabFile));
    return false;
}

void ScriptedRun::finish(int code)
{
    m_stall.stop();
    disconnect(&m_view, nullptr, this, nullptr);
    m_view.close();
    QCoreApplication::exit(code);
}
