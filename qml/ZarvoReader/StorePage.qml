import QtQuick
import QtQuick.Controls.Basic
import "."

// The store front: the category bar, the recommendation strip and the books
// of each sub-category under their section titles. Choosing a category shows
// its page in place; pages already seen come from the client's cache.
Rectangle {
    id: page
    objectName: "storePage"
    color: Theme.paper

    signal back()
    signal searchRequested()
    signal accountRequested()
    signal downloadsRequested()
    signal detailsRequested(string bookId)
    signal recommendRequested(string listId, string listName)

    property int categoryIndex: 0
    // A page was asked for and its answer has not come yet.
    property bool waiting: false
    readonly property bool loaded: status.mode === "ready"
    readonly property int categoryCount: categoryBar.count
    readonly property string categoryId: categoryIndex < categoryBar.count
                                         ? titlemodelQt.getIdString(categoryIndex) : ""
    readonly property string categoryName: categoryBar.currentItem ? categoryBar.currentItem.label : ""
    // Set by callers that want to act once the page has arrived.
    property var whenLoaded: null
    signal pageLoaded()

    // The store front is the first category; every other one is a category
    // page. Either may be answered from the cache, with no signal to wait for.
    function selectCategory(index) {
        categoryIndex = index
        categoryBar.currentIndex = index
        var front = index === 0 || categoryBar.count === 0
        status.showLoading()
        waiting = false
        if (bookNetMgr.GetOnlineBookInfo(front ? "" : titlemodelQt.getIdString(index), front))
            showContent()
        else
            waiting = true
    }
    function reload() {
        selectCategory(categoryIndex)
    }
    function showContent() {
        if (recomodelQt.getCount() === 0 && bookmodelQt.getCount() === 0)
            status.showEmpty()
        else
            status.showReady()
        bookList.positionViewAtBeginning()
        if (bookList.headerItem)
            bookList.headerItem.rewind()
        pageLoaded()
        if (whenLoaded) {
            var action = whenLoaded
            whenLoaded = null
            action()
        }
    }
    // The first book offered on the page shown, for callers that need one.
    function firstBookId() {
        if (recomodelQt.getCount() > 0)
            return recomodelQt.getBookID(0)
        if (bookmodelQt.getCount() > 0)
            return bookmodelQt.getBookID(0)
        return ""
    }

    Connections {
        target: bookNetMgr
        function onOnlineBookRequestResponse(errorCode) {
            if (!page.waiting)
                return
            page.waiting = false
            if (errorCode === 200)
                page.showContent()
            else
                status.showError(errorCode)
        }
    }

    TitleBar {
        id: titleBar
        title: qsTr("书城")
        showBack: true
        onBackClicked: page.back()
        BarButton {
            objectName: "storeSearchButton"
            text: qsTr("搜索")
            onClicked: page.searchRequested()
        }
        DownloadBadgeButton {
            onClicked: page.downloadsRequested()
        }
        BarButton {
            objectName: "storeAccountButton"
            text: qsTr("我的")
            onClicked: page.accountRequested()
        }
    }

    // The category bar; the first entry is the store front.
    Rectangle {
        id: categoryStrip
        anchors.top: titleBar.bottom
        width: parent.width
        // Nothing to choose from until the store front has come once.
        visible: categoryBar.count > 0
        height: visible ? 52 : 0
        color: Theme.shelf
        ListView {
            id: categoryBar
            objectName: "categoryBar"
            anchors.fill: parent
            anchors.leftMargin: 8
            orientation: ListView.Horizontal
            model: titlemodelQt
            currentIndex: page.categoryIndex
            clip: true
            delegate: Item {
                readonly property string label: name
                readonly property bool current: index === page.categoryIndex
                Accessible.role: Accessible.PageTab
                Accessible.name: label
                Accessible.selected: current
                Accessible.onPressAction: page.selectCategory(index)
                width: tabText.implicitWidth + 36
                height: categoryBar.height
                Text {
                    id: tabText
                    anchors.centerIn: parent
                    text: name
                    color: parent.current ? Theme.accent : Theme.inkSoft
                    font.family: Theme.uiFont
                    font.pixelSize: 19
                    font.bold: parent.current
                }
                Rectangle {
                    visible: parent.current
                    anchors.bottom: parent.bottom
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: tabText.implicitWidth + 8
                    height: 4
                    radius: 2
                    color: Theme.accent
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: page.selectCategory(index)
                }
            }
        }
        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: Theme.divider
        }
    }

    ListView {
        id: bookList
        objectName: "bookList"
        anchors.top: categoryStrip.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        clip: true
        model: bookmodelQt
        boundsBehavior: Flickable.StopAtBounds

        header: Column {
            function rewind() {
                strip.positionViewAtBeginning()
            }
            width: bookList.width
            Item {
                width: parent.width
                height: 50
                Text {
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                    anchors.left: parent.left
                    anchors.leftMargin: 18
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("编辑推荐")
                    color: Theme.ink
                    font.family: Theme.uiFont
                    font.pixelSize: 21
                    font.bold: true
                }
                Text {
                    objectName: "recommendMoreLink"
                    Accessible.role: Accessible.Link
                    Accessible.name: qsTr("更多")
                    Accessible.description: qsTr("编辑推荐")
                    Accessible.onPressAction: page.recommendRequested(page.categoryId, page.categoryName)
                    anchors.right: parent.right
                    anchors.rightMargin: 18
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("更多 ›")
                    color: Theme.accent
                    font.family: Theme.uiFont
                    font.pixelSize: 17
                    MouseArea {
                        anchors.fill: parent
                        anchors.margins: -10
                        onClicked: page.recommendRequested(page.categoryId, page.categoryName)
                    }
                }
            }
            ListView {
                id: strip
                objectName: "recommendStrip"
                width: parent.width
                height: 196
                orientation: ListView.Horizontal
                spacing: 14
                leftMargin: 18
                rightMargin: 18
                clip: true
                model: recomodelQt
                delegate: Item {
                    width: 96
                    height: strip.height
                    Accessible.role: Accessible.ListItem
                    Accessible.name: stripCover.title
                    Accessible.onPressAction: page.detailsRequested(recomodelQt.getBookID(index))
                    StoreCover {
                        id: stripCover
                        width: 96
                        height: 138
                        source: picpath
                        title: name
                        titleSize: 15
                    }
                    Text {
                        anchors.top: stripCover.bottom
                        anchors.topMargin: 8
                        width: parent.width
                        text: recomodelQt.getRecName(index)
                        maximumLineCount: 2
                        wrapMode: Text.Wrap
                        elide: Text.ElideRight
                        horizontalAlignment: Text.AlignHCenter
                        color: Theme.ink
                        font.family: Theme.uiFont
                        font.pixelSize: 15
                    }
                    MouseArea {
                        anchors.fill: parent
                        onClicked: page.detailsRequested(recomodelQt.getBookID(index))
                    }
                }
            }
            Rectangle {
                width: parent.width
                height: 10
                color: Theme.shelf
            }
        }

        // Heights follow the model's own sums: 40 per row, 60 more under a
        // section title, 80 more for a row with its cover.
        delegate: Column {
            width: bookList.width
            readonly property bool picture: type === 1

            Item {
                visible: hastitle
                width: parent.width
                height: visible ? 60 : 0
                Rectangle {
                    anchors.left: parent.left
                    anchors.leftMargin: 18
                    anchors.verticalCenter: parent.verticalCenter
                    width: 5
                    height: 22
                    radius: 2
                    color: Theme.accent
                }
                Text {
                    anchors.left: parent.left
                    anchors.leftMargin: 32
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                    anchors.verticalCenter: parent.verticalCenter
                    text: titlename
                    color: Theme.ink
                    font.family: Theme.uiFont
                    font.pixelSize: 21
                    font.bold: true
                }
                Text {
                    Accessible.role: Accessible.Link
                    Accessible.name: qsTr("更多")
                    Accessible.description: titlename
                    Accessible.onPressAction: page.recommendRequested(bookmodelQt.getTitleID(index),
                                                                      titlename)
                    anchors.right: parent.right
                    anchors.rightMargin: 18
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("更多 ›")
                    color: Theme.accent
                    font.family: Theme.uiFont
                    font.pixelSize: 17
                    MouseArea {
                        anchors.fill: parent
                        anchors.margins: -10
                        onClicked: page.recommendRequested(bookmodelQt.getTitleID(index), titlename)
                    }
                }
            }

            Item {
                width: parent.width
                height: parent.picture ? 120 : 40
                Accessible.role: Accessible.ListItem
                Accessible.name: rowCover.title
                Accessible.description: [author, content].filter(Boolean).join(" · ")
                Accessible.onPressAction: page.detailsRequested(bookmodelQt.getBookID(index))
                Rectangle {
                    anchors.fill: parent
                    color: rowArea.pressed ? Theme.accentSoft : "transparent"
                }
                StoreCover {
                    id: rowCover
                    visible: parent.parent.picture
                    x: 18
                    anchors.verticalCenter: parent.verticalCenter
                    width: 70
                    height: 100
                    source: parent.parent.picture ? picpath : ""
                    title: name
                    titleSize: 12
                }
                Column {
                    visible: parent.parent.picture
                    anchors.left: rowCover.right
                    anchors.leftMargin: 14
                    anchors.right: parent.right
                    anchors.rightMargin: 18
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 6
                    Text {
                        width: parent.width
                        text: name
                        elide: Text.ElideRight
                        color: Theme.ink
                        font.family: Theme.uiFont
                        font.pixelSize: 19
                        font.bold: true
                    }
                    Text {
                        width: parent.width
                        text: author
                        elide: Text.ElideRight
                        color: Theme.accent
                        font.family: Theme.uiFont
                        font.pixelSize: 15
                    }
                    Text {
                        width: parent.width
                        text: content
                        elide: Text.ElideRight
                        color: Theme.inkSoft
                        font.family: Theme.uiFont
                        font.pixelSize: 15
                    }
                }
                // A list row: the title, then whatever the store says of it.
                Row {
                    visible: !parent.parent.picture
                    x: 18
                    width: parent.width - 36
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 10
                    Text {
                        text: "·"
                        color: Theme.accent
                        font.pixelSize: 20
                        font.bold: true
                    }
                    Text {
                        id: rowName
                        width: Math.min(implicitWidth, parent.width * 0.5)
                        text: name
                        elide: Text.ElideRight
                        color: Theme.ink
                        font.family: Theme.uiFont
                        font.pixelSize: 17
                    }
                    Text {
                        width: parent.width - rowName.width - 40
                        text: author !== "" ? author : content
                        elide: Text.ElideRight
                        color: Theme.gray
                        font.family: Theme.uiFont
                        font.pixelSize: 15
                        anchors.baseline: rowName.baseline
                    }
                }
                Rectangle {
                    anchors.bottom: parent.bottom
                    x: 18
                    width: parent.width - 36
                    height: 1
                    color: Theme.divider
                    opacity: 0.6
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    onClicked: page.detailsRequested(bookmodelQt.getBookID(index))
                }
            }
        }
    }

    StoreStatus {
        id: status
        anchors.top: categoryStrip.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        emptyText: qsTr("这个分类还没有书")
        onRetry: page.reload()
    }
}
