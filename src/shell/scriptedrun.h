#ifndef SCRIPTEDRUN_H
#define SCRIPTEDRUN_H

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>

class QQuickView;

// Drives the reader without a user, so its start-up and its memory while
// reading can be measured from outside (bench/wholeprocess.sh):
//   ZARVOREADER_EXIT_ON_FIRST_FRAME=1   quit once the first frame is swapped;
//   ZARVOREADER_READ_PAGES=N            after the first frame open the book
//   ZARVOREADER_READ_BOOK=TITLE         titled TITLE (else the first one) and
//                                       turn N pages, one swapped frame each,
//                                       then quit;
//   ZARVOREADER_GRAB_FRAME=FILE.png     save the first frame to FILE and quit
//                                       (0, or 1 when it cannot be written), so
//                                       an installed copy can be checked too.
// A reading run closes the window as the user would, which stores the
// position; a start run just leaves the event loop at its first frame. With
// neither variable set nothing is built and the reader runs as always.
class ScriptedRun : public QObject
{
    Q_OBJECT
public:
    // The run asked for, over the application's view; null when none was.
    static std::unique_ptr<ScriptedRun> fromEnvironment();

private:
    ScriptedRun(QQuickView &view, int pages, const QString &title, const QString &grabFile);

    void frameSwapped();
    void nextStep();
    bool grab();
    void finish(int code);

    QQuickView &m_view;
    const int m_pages;
    const QString m_title;
    const QString m_grabFile;
    int m_turned = -1;                    // -1 until the book is open
    std::atomic_bool m_stepQueued{false}; // set where the swap is reported
    QTimer m_stall;                       // a run that stops drawing ends with an error
};

#endif // SCRIPTEDRUN_H
