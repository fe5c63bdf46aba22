#ifndef FRAMEGRABBER_H
#define FRAMEGRABBER_H

#include <QObject>
#include <QString>
#include <memory>

class QQuickWindow;

// With ZARVOREADER_GRAB_FRAME=FILE.png the reader saves its window to that
// file once the first frame is drawn and ends (exit 0, or 1 when the picture
// cannot be written). So an installed copy can be checked without a display.
class FrameGrabber : public QObject
{
    Q_OBJECT
public:
    // A grabber over the application's window; null when none was asked for.
    static std::unique_ptr<FrameGrabber> fromEnvironment();

private:
    FrameGrabber(QQuickWindow &window, const QString &file);
    void grab();

    QQuickWindow &m_window;
    const QString m_file;
};

#endif // FRAMEGRABBER_H
