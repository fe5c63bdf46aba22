import QtQuick

// The screens, one over the other; only the top one is shown. A screen pushed
// by its file name is made when pushed and destroyed when popped, so its file
// (and whatever it imports) is loaded the first time the screen is opened,
// never at start-up. Pushes slide in from the right and pops slide back out,
// or change at once when not animated.
Item {
    id: stack

    // The bottom screen, an item made elsewhere; it is never destroyed.
    property Item initialItem: null
    readonly property Item currentItem: pages.length > 0 ? pages[pages.length - 1] : null
    readonly property int depth: pages.length
    // True while a screen slides.
    readonly property bool busy: slide.running

    property var pages: []
    property var components: ({})
    // What remains to be done once the running slide ends.
    property var afterSlide: null

    Component.onCompleted: {
        if (initialItem) {
            place(initialItem)
            pages = [initialItem]
        }
    }

    // Makes the screen of the file source with the given initial properties,
    // connects each of its signals named in handlers to the function given
    // there, and shows it on top. Returns the screen, or null when it could
    // not be made.
    function push(source, properties, handlers, animated) {
        settle()
        var component = components[source]
        if (!component) {
            component = Qt.createComponent(source)
            components[source] = component
        }
        if (component.status !== Component.Ready) {
            console.warn(component.errorString())
            return null
        }
        // Made at the stack's size, so a list on it fills in as it completes.
        var initial = { x: 0, y: 0, width: stack.width, height: stack.height }
        for (var key in properties)
            initial[key] = properties[key]
        var page = component.createObject(stack, initial)
        if (!page)
            return null
        for (var name in handlers)
            page[name].connect(handlers[name])
        var below = currentItem
        place(page)
        pages = pages.concat([page])
        if (below)
            move(page, below, 1, animated, function () { below.visible = false })
        return page
    }
    // Takes the top screen off; the one below is shown again.
    function pop(animated) {
        return pages.length > 1 ? popTo(pages[pages.length - 2], animated) : null
    }
    // Takes every screen above target off (above the bottom one when target
    // is null), and returns the top one taken off.
    function popTo(target, animated) {
        settle()
        var index = target ? pages.indexOf(target) : 0
        if (index < 0 || index >= pages.length - 1)
            return null
        var removed = pages.slice(index + 1)
        var top = removed.pop()
        pages = pages.slice(0, index + 1)
        for (var i = 0; i < removed.length; ++i)
            drop(removed[i])
        var shown = pages[index]
        shown.visible = true
        shown.focus = true
        move(shown, top, -1, animated, function () { drop(top) })
        return top
    }
    // The topmost screen for which test(screen) is true, else null.
    function find(test) {
        for (var i = pages.length - 1; i >= 0; --i) {
            if (test(pages[i]))
                return pages[i]
        }
        return null
    }

    // Gone from sight at once; deleted once the current event is over.
    function drop(page) {
        page.visible = false
        page.destroy()
    }
    function place(page) {
        page.parent = stack
        page.x = 0
        page.y = 0
        page.width = Qt.binding(function () { return stack.width })
        page.height = Qt.binding(function () { return stack.height })
        page.visible = true
        // The screen on top holds the keyboard focus, as a whole.
        page.focus = true
    }
    // entering comes in from the side of direction (1: from the right),
    // leaving goes out to the other side; then done() runs.
    function move(entering, leaving, direction, animated, done) {
        if (!animated) {
            entering.x = 0
            done()
            return
        }
        afterSlide = done
        enterAnimation.target = entering
        enterAnimation.from = direction * stack.width
        exitAnimation.target = leaving
        exitAnimation.to = -direction * stack.width
        slide.start()
    }
    // Ends a running slide at once, as if it had run to its end.
    function settle() {
        if (slide.running)
            slide.complete()
        finishSlide()
    }
    function finishSlide() {
        var done = afterSlide
        afterSlide = null
        if (done)
            done()
    }

    ParallelAnimation {
        id: slide
        onFinished: stack.finishSlide()
        NumberAnimation {
            id: enterAnimation
            property: "x"
            to: 0
            duration: 400
            easing.type: Easing.OutCubic
        }
        NumberAnimation {
            id: exitAnimation
            property: "x"
            from: 0
            duration: 400
            easing.type: Easing.OutCubic
        }
    }
}
