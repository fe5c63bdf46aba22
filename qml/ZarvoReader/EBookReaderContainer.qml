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
    property var screenNames: ["shelf", "sort", "reading", "chapters", "bookmarks", "settings",
                               "store", "category", "recommend", "details", "search", "results",
                               "account"]
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

    // The store screens start here. The store front is opened once; asking
    // again goes back to it.
    function openStore() {
        var page = stackView.find(function (item) { return item.objectName === "storePage" })
        if (page) {
            stackView.pop(page, animate ? StackView.PopTransition : StackView.Immediate)
            return page
        }
        page = stackView.push(storeComponent, {}, operation())
        page.selectCategory(0)
        return page
    }
    function storeBack() {
        stackView.pop(animate ? StackView.PopTransition : StackView.Immediate)
    }
    function openRecommend(listId, listName) {
        var page = stackView.push(recommendComponent, {}, operation())
        page.load(listId, listName)
        return page
    }
    function openStoreDetails(bookId) {
        var page = stackView.push(storeDetailsComponent, {}, operation())
        page.load(bookId)
        return page
    }
    function openStoreSearch() {
        var page = stackView.push(storeSearchComponent, {}, operation())
        page.loadKeywords()
        return page
    }
    function openStoreResults(keyword) {
        var page = stackView.push(storeResultsComponent, {}, operation())
        page.start(keyword)
        return page
    }
    function openStoreAccount() {
        var page = stackView.push(storeAccountComponent, {}, operation())
        page.load()
        return page
    }
    // Runs action() once the page has its answer, without transitions, so a
    // screenshot taken afterwards shows the screen settled.
    function afterLoad(page, action) {
        if (page.loaded) {
            action()
            return
        }
        page.whenLoaded = function () {
            var was = root.animate
            root.animate = false
            action()
            root.animate = was
        }
    }
    function whenStoreLoaded(action) {
        var store = openStore()
        afterLoad(store, function () { action(store) })
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
        } else if (name === "store") {
            goToShelf()
            openStore()
        } else if (name === "category") {
            goToShelf()
            whenStoreLoaded(function (store) {
                if (store.categoryCount > 1)
                    store.selectCategory(1)
            })
        } else if (name === "recommend") {
            goToShelf()
            whenStoreLoaded(function (store) {
                openRecommend(store.categoryId, store.categoryName)
            })
        } else if (name === "details") {
            goToShelf()
            whenStoreLoaded(function (store) {
                if (store.firstBookId() !== "")
                    openStoreDetails(store.firstBookId())
            })
        } else if (name === "search") {
            goToShelf()
            openStore()
            openStoreSearch()
        } else if (name === "results") {
            goToShelf()
            openStore()
            var search = openStoreSearch()
            afterLoad(search, function () { search.searchFirstKeyword() })
        } else if (name === "account") {
            goToShelf()
            openStore()
            openStoreAccount()
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
        id: storeComponent
        StorePage {
            onBack: root.storeBack()
            onSearchRequested: root.openStoreSearch()
            onAccountRequested: root.openStoreAccount()
            onDetailsRequested: function (bookId) { root.openStoreDetails(bookId) }
            onRecommendRequested: function (listId, listName) { root.openRecommend(listId, listName) }
        }
    }
    Component {
        id: recommendComponent
        RecommendPage {
            onBack: root.storeBack()
            onDetailsRequested: function (bookId) { root.openStoreDetails(bookId) }
        }
    }
    Component {
        id: storeDetailsComponent
        StoreDetailsPage {
            onBack: root.storeBack()
        }
    }
    Component {
        id: storeSearchComponent
        StoreSearchPage {
            onBack: root.storeBack()
            onSearchStarted: function (keyword) { root.openStoreResults(keyword) }
        }
    }
    Component {
        id: storeResultsComponent
        StoreResultsPage {
            onBack: root.storeBack()
            onDetailsRequested: function (bookId) { root.openStoreDetails(bookId) }
        }
    }
    Component {
        id: storeAccountComponent
        StoreAccountPage {
            onBack: root.storeBack()
        }
    }
    Component {
        id: settingsComponent
        SettingsPage {
            onBack: stackView.pop(root.animate ? StackView.PopTransition : StackView.Immediate)
        }
    }
}
