#ifndef SCREENDRIVER_H
#define SCREENDRIVER_H

// Finds and taps items of the reader's real screens, as a finger would, and
// saves pictures of what they show.

#include "ebookreaderapp.h"
#include "ebookreaderviewmgr.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QQuickItem>
#include <QQuickView>
#include <QString>
#include <QTest>

class ScreenDriver
{
public:
    // Takes the view of the reader just built, shown at the handset's size;
    // false when it has no view with its document ready.
    bool attach(EBookReaderApp &app)
    {
        m_view = nullptr;
        for (QWindow *window : QGuiApplication::allWindows()) {
            if (auto *view = qobject_cast<EBookReaderViewMgr *>(window))
                m_view = view;
        }
        if (!m_view || m_view->status() != QQuickView::Ready)
            return false;
        app.showExpanded();
        m_view->resize(480, 800);
        if (!QTest::qWaitForWindowExposed(m_view))
            return false;
        // Transitions would only make each step wait; the screens are the same.
        root()->setProperty("animate", false);
        return true;
    }
    EBookReaderViewMgr *view() const { return m_view; }

    QQuickItem *root() const { return m_view ? m_view->rootObject() : nullptr; }
    // The screen on top of the stack.
    QQuickItem *screen() const
    {
        return root() ? root()->property("currentScreen").value<QQuickItem *>() : nullptr;
    }
    QQuickItem *onScreen(const QString &name) const { return findIn(screen(), name); }
    QQuickItem *anywhere(const QString &name) const { return findIn(root(), name); }

    static QQuickItem *findIn(QQuickItem *from, const QString &name)
    {
        if (!from)
            return nullptr;
        if (from->objectName() == name)
            return from;
        const QList<QQuickItem *> children = from->childItems();
        for (QQuickItem *child : children) {
            if (QQuickItem *found = findIn(child, name))
                return found;
        }
        return nullptr;
    }

    static QString text(QQuickItem *item)
    {
        return item ? item->property("text").toString() : QString();
    }

    static QQuickItem *listItem(QQuickItem *list, int index)
    {
        QQuickItem *item = nullptr;
        if (list)
            QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, item),
                                      Q_ARG(int, index));
        return item;
    }

    // Taps the middle of the item; false when it is not there to be tapped.
    bool click(QQuickItem *item) const
    {
        if (!item || !item->isVisible())
            return false;
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
        return true;
    }

    // Saves ZR_BINARY_DIR/ui-screenshots/PREFIX-NN-NAME.png; false when it
    // could not.
    bool shot(const QString &prefix, const QString &name)
    {
        const QString folder = qEnvironmentVariable("ZR_BINARY_DIR") + "/ui-screenshots";
        if (!QDir().mkpath(folder))
            return false;
        QTest::qWait(50); // let pictures that have arrived be drawn
        const QImage image = m_view->grabWindow();
        const QString path = QString("%1/%2-%3-%4.png")
                                 .arg(folder, prefix)
                                 .arg(++m_shots, 2, 10, QChar('0'))
                                 .arg(name);
        return !image.isNull() && image.save(path);
    }

private:
    EBookReaderViewMgr *m_view = nullptr;
    int m_shots = 0;
};

#endif // SCREENDRIVER_H
