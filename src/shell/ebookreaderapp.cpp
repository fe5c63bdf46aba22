#include "ebookreaderapp.h"

#include "commondef.h"
#include "ebookreaderviewmgr.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {
const int PhoneWidth = 480;
const int PhoneHeight = 800;
} // namespace

EBookReaderApp::EBookReaderApp()
{
    createUserFolders();
    m_mgrView = std::make_unique<EBookReaderViewMgr>(this, nullptr);

    QCoreApplication::instance()->installEventFilter(this);
    connect(&m_displayState, &DisplayStateWatcher::displayStateChanged, this,
            &EBookReaderApp::displayStateChanged);
}

EBookReaderApp::~EBookReaderApp()
{
    // The view goes before the display-state source.
    m_mgrView.reset();
}

void EBookReaderApp::createUserFolders()
{
    // Failures are not reported: later file operations fail on their own.
    QDir dir;
    for (const QString &folder :
         {BookInfoFolder.path(), BookFolder.path(), UserBookFolder.path()}) {
        if (!dir.exists(folder))
            dir.mkpath(folder);
    }
}

void EBookReaderApp::setOrientation(ScreenOrientation orientation)
{
    Q_UNUSED(orientation);
}

void EBookReaderApp::showExpanded()
{
    m_mgrView->reportContentOrientationChange(Qt::PortraitOrientation);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect geometry = screen ? screen->geometry() : QRect();
    if (geometry.height() > geometry.width()) {
        m_mgrView->showFullScreen();
        return;
    }
    m_mgrView->resize(PhoneWidth, PhoneHeight);
    m_mgrView->show();
}

bool EBookReaderApp::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ApplicationDeactivate:
        emit switchToDeactivate();
        break;
    case QEvent::ApplicationActivate:
        emit switchToActivate();
        break;
    case QEvent::ApplicationStateChange:
        // Qt 6 reports going to and from the background only this way.
        handleApplicationState(
            static_cast<QApplicationStateChangeEvent *>(event)->applicationState());
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void EBookReaderApp::handleApplicationState(Qt::ApplicationState state)
{
    if (state == Qt::ApplicationActive)
        emit switchToActivate();
    else
        emit switchToDeactivate();
}

void EBookReaderApp::displayStateChanged(DisplayStateWatcher::DisplayState state)
{
    switch (state) {
    case DisplayStateWatcher::On:
        emit wakeup();
        break;
    case DisplayStateWatcher::Off:
        emit sleep();
        break;
    default:
        // Dimmed and unknown values leave the clock as it is.
        break;
    }
}
