#ifndef ACCESSIBILITYWALK_H
#define ACCESSIBILITYWALK_H

// Walks a window as a screen reader sees it and lists what a reader could
// press without hearing what it is, or could not reach at all.

#include <QAccessible>
#include <QMetaEnum>
#include <QMetaMethod>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <QTest>

namespace AccessibilityWalk {

// The offscreen platform has no AT-SPI bridge, so until told that a screen
// reader has arrived, controls have no role and Text items stay out of the
// tree. Screens come and go, so this is called before every walk.
inline void activate()
{
    QAccessible::setActive(true);
}

inline bool pressable(QAccessibleInterface *node)
{
    static const QList<QAccessible::Role> roles{
        QAccessible::Button, QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ListItem,
        QAccessible::Cell,   QAccessible::Link,     QAccessible::MenuItem,    QAccessible::PageTab};
    if (roles.contains(node->role()))
        return true;
    QAccessibleActionInterface *actions = node->actionInterface();
    return actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction());
}

// "Button BarButton_QMLTYPE_3 'backButton' at 0,0 64x64", enough to find it.
inline QString describe(QAccessibleInterface *node)
{
    const QObject *object = node->object();
    const QRect r = node->rect();
    return QString("%1 %2 '%3' at %4,%5 %6x%7")
        .arg(QMetaEnum::fromType<QAccessible::Role>().valueToKey(node->role()),
             object ? object->metaObject()->className() : "?",
             object ? object->objectName() : QString(), QString::number(r.x()),
             QString::number(r.y()), QString::number(r.width()), QString::number(r.height()));
}

// Calls visit on every interface in sight below node, depth first.
template <typename Visit> void walk(QAccessibleInterface *node, const Visit &visit)
{
    for (int i = 0; node && i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child || child->state().invisible)
            continue;
        visit(child);
        walk(child, visit);
    }
}

// The names in sight of the given role, in tree order.
inline QStringList names(QQuickWindow *window, QAccessible::Role role)
{
    activate();
    QStringList found;
    walk(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface *node) {
        if (node->role() == role)
            found << node->text(QAccessible::Name);
    });
    return found;
}

// Does what a screen reader does when the reader presses the item in sight
// with this object name; false when there is none to press.
inline bool press(QQuickWindow *window, const QString &objectName)
{
    activate();
    QAccessibleActionInterface *target = nullptr;
    walk(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface *node) {
        if (node->object() && node->object()->objectName() == objectName && pressable(node))
            target = node->actionInterface();
    });
    if (!target)
        return false;
    target->doAction(QAccessibleActionInterface::pressAction());
    return true;
}

// isSignalConnected is protected; a pointer to it taken through a subclass
// is an ordinary pointer to QObject's member.
struct SignalPeek : QObject
{
    using QObject::isSignalConnected;
};

// A mouse area that something listens to: a tap there does something.
inline bool answersTaps(QQuickItem *item)
{
    if (!item->inherits("QQuickMouseArea"))
        return false;
    static const QList<QByteArray> signalNames = {"clicked", "pressed", "released", "pressAndHold",
                                                  "doubleClicked"};
    const QMetaObject *meta = item->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal && signalNames.contains(method.name()) &&
            (item->*(&SignalPeek::isSignalConnected))(method))
            return true;
    }
    return false;
}

inline bool pressableItem(QQuickItem *item)
{
    QAccessibleInterface *node = QAccessible::queryAccessibleInterface(item);
    return node && !node->state().invisible && pressable(node);
}

inline bool pressableBelow(QQuickItem *item)
{
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children) {
        if (pressableItem(child) || pressableBelow(child))
            return true;
    }
    return false;
}

// A tap area is reachable when the nearest item in the tree around it, or an
// item inside it, is something to press.
inline bool reachable(QQuickItem *area)
{
    for (QQuickItem *up = area; up; up = up->parentItem()) {
        if (QAccessible::queryAccessibleInterface(up))
            return pressableItem(up) || pressableBelow(area);
    }
    return pressableBelow(area);
}

inline void collectUnreachable(QQuickItem *item, QStringList &found)
{
    if (!item->isVisible() || !item->isEnabled())
        return;
    if (answersTaps(item) && !reachable(item)) {
        const QQuickItem *around = item->parentItem() ? item->parentItem() : item;
        const QPointF at = item->mapToScene(QPointF());
        found << QString("unreachable tap area in %1 '%2' at %3,%4")
                     .arg(around->metaObject()->className(), around->objectName(),
                          QString::number(at.x()), QString::number(at.y()));
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        collectUnreachable(child, found);
}

// Everything wrong with the window as it is now; empty when a screen reader
// can name and reach every control in sight.
inline QStringList faults(QQuickWindow *window)
{
    activate();
    QStringList found;
    walk(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface *node) {
        if (pressable(node) && node->text(QAccessible::Name).trimmed().isEmpty())
            found << "no name: " + describe(node);
    });
    collectUnreachable(window->contentItem(), found);
    return found;
}

} // namespace AccessibilityWalk

// Fails the test function on every fault of the window as it is now.
#define ZR_VERIFY_ACCESSIBLE(window)                                                               \
    do {                                                                                           \
        const QStringList zrAccessibilityFaults = AccessibilityWalk::faults(window);               \
        QVERIFY2(zrAccessibilityFaults.isEmpty(), qPrintable(zrAccessibilityFaults.join('\n')));   \
    } while (false)

#endif // ACCESSIBILITYWALK_H
