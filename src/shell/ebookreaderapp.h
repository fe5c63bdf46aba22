#ifndef EBOOKREADERAPP_H
#define EBOOKREADERAPP_H

#include "displaystatewatcher.h"

#include <QObject>
#include <memory>

class EBookReaderViewMgr;

// The application object: makes sure the user folders exist, builds the view
// (which builds every engine) and turns activation and display events into
// the four signals the clock follows.
class EBookReaderApp : public QObject
{
    Q_OBJECT
public:
    enum ScreenOrientation
    {
        ScreenOrientationLockPortrait = 0,
        ScreenOrientationLockLandscape = 1,
        ScreenOrientationAuto = 2
    };
    Q_ENUM(ScreenOrientation)

    EBookReaderApp();
    ~EBookReaderApp() override;

    // The screens are portrait only; showExpanded() fixes the orientation.
    void setOrientation(ScreenOrientation orientation);
    // Full screen on a portrait screen, else a phone-sized portrait window.
    void showExpanded();

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void switchToDeactivate();
    void switchToActivate();
    void sleep();
    void wakeup();

public slots:
    void displayStateChanged(DisplayStateWatcher::DisplayState state);

private:
    static void createUserFolders();
    void handleApplicationState(Qt::ApplicationState state);

    DisplayStateWatcher m_displayState;
    std::unique_ptr<EBookReaderViewMgr> m_mgrView;
};

#endif // EBOOKREADERAPP_H
