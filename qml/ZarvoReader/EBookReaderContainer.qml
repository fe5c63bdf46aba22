import QtQuick
import QtQuick.Window
import QtQuick.Controls.Basic
import "."

// The top-level document: a stack of screens starting at the bookshelf.
Rectangle {
    id: root
    objectName: "root"
    width: 480
    height: 800
    color: Theme.paper

    // Screens the screenshot tool renders, in order; showScreen(name) brings
    // each one up with real data.
    property var screenNames: ["shelf", "sort", "reading", "chapters", "bookmarks", "settings"]
    property bool animate: true

    readonly property var stack: stackView
    readonly property Item currentScreen: stackView.currentItem

    function operation() { return animate ? StackView.PushTransition : StackView.Immediate }

    function goToShelf() {
        if (currentScreen && currentScreen.objectName === "readingPage")
            currentScreen.leave()
        stackView.pop(null, StackView.Immediate)
        shelf.sortMenuVisible = false
        shelf.refresh()
    }
    function openReading() {
        var page = stackView.push(readingComponent, {}, operation())
        page.start()
        return page
    }
    function leaveReading() {
        stackView.currentItem.leave()
        stackView.pop(animate ? StackView.PopTransition : StackView.Immediate)
        shelf.refresh()
    }
    function openList(mode) {
        var page = stackView.push(indexComponent, {}, operation())
        page.load(mode === "bookmarks" ? 1 : 0)
        return page
    }
    function backToReading(reload) {
        stackView.pop(animate ? StackView.PopTransition : StackView.Immediate)
        if (reload)
            stackView.currentItem.start()
        else
            stackView.currentItem.refresh()
    }
    function openSettings() {
        return stackView.push(settingsComponent, {}, operation())
    }
    // Opens the book with this title (or the first one) from the shelf.
    function openBookNamed(title) {
        goToShelf()
        var book = shelf.findBook(title)
        if (!book)
            return false
        return shelf.openBook(book.bookId, book.bookPath)
    }

    // The store screens start here.
    function openStore() {
    }

    function showScreen(name) {
        animate = false
        if (name === "shelf") {
            goToShelf()
        } else if (name === "sort") {
            goToShelf()
            shelf.sortMenuVisible = true
        } else if (name === "reading") {
            if (openBookNamed("论语"))
                currentScreen.nextPage()
        } else if (name === "chapters" || name === "bookmarks") {
            if (!currentScreen || currentScreen.objectName !== "readingPage")
                openBookNamed("论语")
            if (currentScreen && currentScreen.objectName === "readingPage")
                openList(name)
        } else if (name === "settings") {
            goToShelf()
            openSettings()
        }
        animate = true
    }

    // Tell the view when the screen layout changes, so that its width and
    // height properties follow.
    function reportLayout() {
        if (Window.window && Window.window.layoutChanged)
            Window.window.layoutChanged()
    }
    onWidthChanged: reportLayout()
    onHeightChanged: reportLayout()

    StackView {
        id: stackView
        anchors.fill: parent
        initialItem: shelf
    }

    ShelfPage {
        id: shelf
        visible: false
        onBookOpened: root.openReading()
        onSettingsRequested: root.openSettings()
        onStoreRequested: root.openStore()
    }

    Component {
        id: readingComponent
        ReadingPage {
            onLeaveRequested: root.leaveReading()
            onListRequested: function (mode) { root.openList(mode) }
        }
    }
    Component {
        id: indexComponent
        IndexListPage {
            onJumped: root.backToReading(true)
            onCancelled: root.backToReading(false)
        }
    }
    Component {
        id: settingsComponent
        SettingsPage {
            onBack: stackView.pop(root.animate ? StackView.PopTransition : StackView.Immediate)
        }
    }
}
