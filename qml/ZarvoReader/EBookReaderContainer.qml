import QtQuick
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
    property var screenNames: ["shelf", "sort", "reading", "chapters", "bookmarks", "book-search",
                               "settings",
                               "store", "category", "recommend", "details", "search", "results",
                               "account", "purchase", "downloads", "newbook",
                               "shelf-progress", "reading-dark"]
    property bool animate: true
    // True while a screen shown by showScreen waits for an answer; the
    // screenshot tool waits for it to fall.
    property bool screenPending: false

    readonly property var stack: stackView
    readonly property Item currentScreen: stackView.currentItem
    // Made on the first purchase; it and the controls it uses stay out of
    // start-up.
    property Item purchaseFlow: null

    function purchases() {
        if (!purchaseFlow) {
            purchaseFlow = Qt.createComponent("PurchaseFlow.qml").createObject(root)
            purchaseFlow.downloadsRequested.connect(root.openDownloads)
        }
        return purchaseFlow
    }

    // Each screen comes from its own file, made when it is opened.
    function push(source, handlers) {
        return stackView.push(source, {}, handlers, animate)
    }
    function back() {
        stackView.pop(animate)
    }

    function goToShelf() {
        if (currentScreen && currentScreen.objectName === "readingPage")
            currentScreen.leave()
        stackView.popTo(null, false)
        shelf.sortMenuVisible = false
        shelf.refresh()
    }
    function openReading() {
        var page = push("ReadingPage.qml", {
            leaveRequested: root.leaveReading,
            listRequested: root.openList,
            searchRequested: root.openBookSearch
        })
        page.start()
        return page
    }
    function leaveReading() {
        stackView.currentItem.leave()
        back()
        shelf.refresh()
    }
    function openList(mode) {
        var page = push("IndexListPage.qml", {
            jumped: function () { root.backToReading(true) },
            cancelled: function () { root.backToReading(false) }
        })
        page.load(mode === "bookmarks" ? 1 : 0)
        return page
    }
    function backToReading(reload) {
        back()
        if (reload)
            stackView.currentItem.start()
        else
            stackView.currentItem.refresh()
    }
    // Search inside the open book; a chosen hit shows its page, marked.
    function openBookSearch() {
        return push("BookSearchPage.qml", {
            jumped: function () { root.backToReading(false) },
            back: root.back
        })
    }
    // The tour waits for the search to end.
    function showBookSearch(text) {
        var page = openBookSearch()
        screenPending = true
        page.search(text)
    }
    Connections {
        target: typeof bookSearch !== "undefined" ? bookSearch : null
        function onSearchingChanged() {
            if (!bookSearch.searching)
                root.screenPending = false
        }
    }
    function openSettings() {
        return push("SettingsPage.qml", { back: root.back })
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
            stackView.popTo(page, animate)
            return page
        }
        page = push("StorePage.qml", {
            back: root.storeBack,
            searchRequested: root.openStoreSearch,
            accountRequested: root.openStoreAccount,
            downloadsRequested: root.openDownloads,
            detailsRequested: root.openStoreDetails,
            recommendRequested: root.openRecommend
        })
        page.selectCategory(0)
        return page
    }
    function storeBack() {
        back()
    }
    function openRecommend(listId, listName) {
        var page = push("RecommendPage.qml", {
            back: root.storeBack,
            detailsRequested: root.openStoreDetails
        })
        page.load(listId, listName)
        return page
    }
    function openStoreDetails(bookId) {
        var page = push("StoreDetailsPage.qml", {
            back: root.storeBack,
            buyRequested: root.buy
        })
        page.ordering = Qt.binding(function () {
            return root.purchaseFlow !== null && root.purchaseFlow.ordering
        })
        page.load(bookId)
        return page
    }
    function openStoreSearch() {
        var page = push("StoreSearchPage.qml", {
            back: root.storeBack,
            searchStarted: root.openStoreResults
        })
        page.loadKeywords()
        return page
    }
    function openStoreResults(keyword) {
        var page = push("StoreResultsPage.qml", {
            back: root.storeBack,
            detailsRequested: root.openStoreDetails
        })
        page.start(keyword)
        return page
    }
    function openDownloads() {
        var page = stackView.find(function (item) { return item.objectName === "downloadsPage" })
        if (page) {
            stackView.popTo(page, animate)
            return page
        }
        return push("DownloadPage.qml", { back: root.storeBack })
    }
    function buy(bookId, size, title) {
        purchases().start(bookId, size, title)
    }
    function openStoreAccount() {
        var page = push("StoreAccountPage.qml", { back: root.storeBack })
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
        screenPending = true
        page.whenLoaded = function () {
            root.screenPending = false
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
        // Nothing left over from the screen before.
        screenPending = false
        taskWatch.pauseAt = ""
        taskWatch.finishOf = ""
        if (purchaseFlow)
            purchaseFlow.dismiss()
        Theme.forcedDark = false
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
        } else if (name === "book-search") {
            // Traditional characters typed, the simplified text found.
            if (openBookNamed("论语"))
                showBookSearch("禮")
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
        } else if (name === "purchase") {
            goToShelf()
            whenStoreLoaded(function (store) {
                showCategory(store, "vip", function () { buyFirstBook(store) })
            })
        } else if (name === "downloads") {
            goToShelf()
            if (taskWatch.pausedTask())
                openDownloads()
            else
                whenStoreLoaded(function (store) {
                    showCategory(store, "free", function () { downloadAndPause(store) })
                })
        } else if (name === "newbook") {
            goToShelf()
            finishPausedDownload()
        } else if (name === "shelf-progress") {
            // A book read some way in: the shelf shows how far.
            if (openBookNamed("论语")) {
                for (var turn = 0; turn < 24; ++turn)
                    currentScreen.nextPage()
            }
            goToShelf()
        } else if (name === "reading-dark") {
            // Dark for the picture only; the user's setting stays as it is.
            Theme.forcedDark = true
            if (openBookNamed("论语"))
                currentScreen.nextPage()
        }
        animate = true
    }

    // Tour steps that go through the store and the purchase flow.
    function showCategory(store, id, action) {
        for (var i = 0; i < store.categoryCount; ++i) {
            if (titlemodelQt.getIdString(i) === id) {
                store.selectCategory(i)
                afterLoad(store, action)
                return
            }
        }
    }
    function buyFirstBook(store) {
        var bookId = store.firstBookId()
        if (bookId === "")
            return
        var details = openStoreDetails(bookId)
        afterLoad(details, function () {
            root.screenPending = true
            purchases().whenSettled = function () { root.screenPending = false }
            details.buy()
        })
    }
    // The first book of the page that is neither on the device nor queued.
    function bookToDownload() {
        var ids = []
        for (var i = 0; i < recomodelQt.getCount(); ++i)
            ids.push(recomodelQt.getBookID(i))
        for (var j = 0; j < bookmodelQt.getCount(); ++j)
            ids.push(bookmodelQt.getBookID(j))
        for (var k = 0; k < ids.length; ++k) {
            if (ids[k] !== "" && Engines.purchase.getDownloadedStatus(ids[k], "0") === 0)
                return ids[k]
        }
        return ""
    }
    // A download on loopback is over in a moment: the task is paused at its
    // first progress report, so the centre shows it part way.
    function downloadAndPause(store) {
        var bookId = Engines.canBuy ? bookToDownload() : ""
        if (bookId === "") {
            openDownloads()
            return
        }
        screenPending = true
        taskWatch.pauseAt = bookId + ".vbp"
        purchases().whenSettled = function () {
            if (taskWatch.pauseAt === "")
                return
            // No task came of the order: show the centre as it is.
            if (!taskWatch.find(taskWatch.pauseAt)) {
                taskWatch.pauseAt = ""
                root.showDownloadsSettled()
            }
        }
        purchases().order(bookId)
    }
    function showDownloadsSettled() {
        var was = animate
        animate = false
        goToShelf()
        openDownloads()
        animate = was
        screenPending = false
    }
    function showNewBook(bookId) {
        goToShelf()
        shelf.revealBook(bookId)
        screenPending = false
    }
    function finishPausedDownload() {
        var task = taskWatch.pausedTask()
        if (!task || !Engines.downloads)
            return
        screenPending = true
        taskWatch.finishOf = task.cid
        Engines.downloads.ReStartTask(task.cid, task.link)
    }

    // A store answer that failed ends the wait: the screen shows the failure
    // and there is nothing more to come for it.
    Connections {
        target: bookNetMgr
        ignoreUnknownSignals: true
        function settleOnFailure(errorCode) {
            if (errorCode !== 200)
                root.screenPending = false
        }
        function onOnlineBookRequestResponse(errorCode) { settleOnFailure(errorCode) }
        function onMoreRequestResponse(errorCode) { settleOnFailure(errorCode) }
        function onSearchKeyWordResponse(errorCode) { settleOnFailure(errorCode) }
        function onSearchResultResponse(errorCode) { settleOnFailure(errorCode) }
        function onBookInfoRequestResponse(errorCode) { settleOnFailure(errorCode) }
        function onMyAccountRequestResponse(errorCode) { settleOnFailure(errorCode) }
    }

    // Follows every download task, for the tour's pause and finish steps.
    Instantiator {
        id: taskWatch
        property string pauseAt: ""
        property string finishOf: ""
        model: Engines.downloadList
        function find(cid) {
            for (var i = 0; i < count; ++i) {
                var task = objectAt(i)
                if (task && task.cid === cid)
                    return task
            }
            return null
        }
        function pausedTask() {
            for (var i = 0; i < count; ++i) {
                var task = objectAt(i)
                if (task && task.taskState === 2 && task.done > 0)
                    return task
            }
            return null
        }
        function reported(task) {
            if (task.cid !== pauseAt || task.taskState !== 1 || task.done <= 0)
                return
            pauseAt = ""
            // Not from inside the engine's own report.
            Qt.callLater(taskWatch.pauseAndShow, task.cid, task.link)
        }
        function pauseAndShow(cid, link) {
            Engines.downloads.PauseTask(cid, link)
            root.showDownloadsSettled()
        }
        delegate: QtObject {
            readonly property string cid: model.cid
            readonly property string link: model.link
            readonly property int done: model.downloadedsize
            readonly property int taskState: model.downloadState
            onDoneChanged: taskWatch.reported(this)
            onTaskStateChanged: taskWatch.reported(this)
        }
    }
    Connections {
        target: Engines.downloads
        function onDownloadFinishedResponse(cid, folder) {
            // The shelf has taken the book in by now.
            if (taskWatch.pauseAt === cid) {
                taskWatch.pauseAt = ""
                Qt.callLater(root.showDownloadsSettled)
            }
            if (taskWatch.finishOf !== cid)
                return
            taskWatch.finishOf = ""
            Qt.callLater(root.showNewBook, cid.replace(/\.vbp$/, ""))
        }
    }
    Component.onCompleted: {
        if (Engines.downloads)
            Engines.downloads.AutomaticDownloadTask()
    }

    // Tell the view when the screen layout changes, so that its width and
    // height properties follow.
    function reportLayout() {
        if (Window.window && Window.window.layoutChanged)
            Window.window.layoutChanged()
    }
    onWidthChanged: reportLayout()
    onHeightChanged: reportLayout()

    PageStack {
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
        onDownloadsRequested: root.openDownloads()
    }
}
