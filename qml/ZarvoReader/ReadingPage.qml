import QtQuick
import "."

// The reading screen: twenty lines of the current page, paging by tap or
// swipe, the clock, a bookmark toggle and the ways into the chapter and
// bookmark lists.
Rectangle {
    id: page
    objectName: "readingPage"
    color: Theme.paper

    property string bookName: listItemModel.getBookName()
    property var lines: []
    property bool marked: false
    readonly property int linesPerPage: 20

    signal leaveRequested()
    signal listRequested(string mode)
    // Search inside the book; the hit jumped to is marked until the page turns.
    signal searchRequested()
    property var hitMarks: []

    // Re-reads the prepared page from the engine.
    function refresh() {
        var l = []
        for (var i = 0; i < linesPerPage; ++i)
            l.push(bookreader.GetOneLineContent(i))
        lines = l
        marked = bookreader.IsBookMark()
        hitMarks = typeof bookSearch !== "undefined" && bookSearch ? bookSearch.currentMarks() : []
        if (typeof readingProgress !== "undefined" && readingProgress)
            readingProgress.refresh()
    }
    // Moves to the stored position (or the one just chosen from a list).
    function start() {
        var code = bookreader.GetFirstPageContent()
        if (code !== 0)
            toast.show(qsTr("无法读取这一章 (%1)").arg(code))
        bookName = listItemModel.getBookName()
        refresh()
    }
    function nextPage() {
        if (bookreader.IsTheLastPage()) {
            toast.show(qsTr("已经是最后一页"))
            return
        }
        var code = bookreader.GetNextOnePageContent()
        if (code !== 0)
            toast.show(qsTr("无法读取下一章 (%1)").arg(code))
        refresh()
    }
    function previousPage() {
        if (bookreader.IsTheFistPage()) {
            toast.show(qsTr("已经是第一页"))
            return
        }
        var code = bookreader.GetPreOnePageContent()
        if (code !== 0)
            toast.show(qsTr("无法读取上一章 (%1)").arg(code))
        refresh()
    }
    function toggleBookmark() {
        bookreader.SaveBookMrak()
        marked = bookreader.IsBookMark()
        toast.show(marked ? qsTr("已添加书签") : qsTr("已删除书签"))
    }
    // Stores the position; the caller then leaves the screen.
    function leave() {
        bookreader.StartUpListView()
        if (typeof readingProgress !== "undefined" && readingProgress)
            readingProgress.store()
    }
    // The screen stays awake while this page is shown.
    function holdScreen(hold) {
        if (typeof screenInhibitor !== "undefined" && screenInhibitor)
            screenInhibitor.keepAwake = hold
    }
    onVisibleChanged: holdScreen(visible)
    Component.onCompleted: holdScreen(visible)
    Component.onDestruction: holdScreen(false)

    function twoDigits(n) { return n < 10 ? "0" + n : "" + n }

    Rectangle {
        id: header
        anchors.top: parent.top
        width: parent.width
        height: 56
        color: Theme.bar
        BarButton {
            id: backButton
            objectName: "backButton"
            accessibleName: qsTr("返回")
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            height: 56
            text: "‹"
            fontSize: 38
            onClicked: page.leaveRequested()
        }
        Text {
            anchors.left: backButton.right
            Accessible.role: Accessible.Heading
            Accessible.name: text
            anchors.right: progressLabel.left
            anchors.verticalCenter: parent.verticalCenter
            anchors.rightMargin: 8
            text: page.bookName
            elide: Text.ElideRight
            color: Theme.barText
            font.family: Theme.uiFont
            font.pixelSize: 20
        }
        // How far into the book: the chapter out of all, and percent by characters.
        Text {
            id: progressLabel
            objectName: "progressLabel"
            readonly property bool known: typeof readingProgress !== "undefined"
                                          && readingProgress !== null
                                          && readingProgress.chapterCount > 0
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.right: clock.left
            anchors.rightMargin: 14
            anchors.verticalCenter: parent.verticalCenter
            text: known ? qsTr("第 %1/%2 章  %3%").arg(readingProgress.chapter)
                                                .arg(readingProgress.chapterCount)
                                                .arg(readingProgress.percent) : ""
            color: Theme.barText
            opacity: 0.8
            font.family: Theme.uiFont
            font.pixelSize: 16
        }
        Text {
            id: clock
            objectName: "clock"
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.right: parent.right
            anchors.rightMargin: 18
            anchors.verticalCenter: parent.verticalCenter
            text: page.twoDigits(timemodel.hour) + ":" + page.twoDigits(timemodel.minute)
            color: Theme.barText
            font.family: Theme.uiFont
            font.pixelSize: 20
        }
    }

    Column {
        id: textColumn
        objectName: "pageText"
        // A screen reader reads the page as one text, line by line.
        Accessible.role: Accessible.Paragraph
        Accessible.name: page.lines.join("\n")
        Accessible.onNextPageAction: page.nextPage()
        Accessible.onPreviousPageAction: page.previousPage()
        anchors.top: header.bottom
        anchors.topMargin: 4
        anchors.horizontalCenter: parent.horizontalCenter
        width: 15 * Theme.readerFontSize + 8
        Repeater {
            model: page.lines
            delegate: Text {
                width: textColumn.width
                height: 33.6
                text: modelData
                color: Theme.ink
                font.family: Theme.bodyFont
                font.pixelSize: Theme.readerFontSize
                verticalAlignment: Text.AlignVCenter
                textFormat: Text.PlainText
            }
        }
    }

    // The search hit on this page: a band over its characters on each line.
    FontMetrics {
        id: hitMetrics
        font.family: Theme.bodyFont
        font.pixelSize: Theme.readerFontSize
    }
    Repeater {
        model: page.hitMarks
        delegate: Rectangle {
            objectName: "searchHitMark"
            readonly property string shown: page.lines[modelData.line] || ""
            x: textColumn.x + hitMetrics.advanceWidth(shown.substring(0, modelData.column))
            y: textColumn.y + modelData.line * 33.6
            width: hitMetrics.advanceWidth(shown.substr(modelData.column, modelData.length))
            height: 33.6
            radius: 4
            color: Theme.accent
            opacity: 0.3
        }
    }

    // The bookmark ribbon in the top right corner of the page.
    Rectangle {
        objectName: "bookmarkRibbon"
        visible: page.marked
        anchors.top: header.bottom
        anchors.right: parent.right
        anchors.rightMargin: 14
        width: 22
        height: 40
        color: Theme.badge
    }

    // Taps on the left third go back a page, on the right third forward;
    // a horizontal swipe pages too.
    MouseArea {
        id: pager
        anchors.top: header.bottom
        anchors.bottom: toolbar.top
        width: parent.width
        property real pressX: 0
        onPressed: function (mouse) { pressX = mouse.x }
        onReleased: function (mouse) {
            var dx = mouse.x - pressX
            if (dx < -60)
                page.nextPage()
            else if (dx > 60)
                page.previousPage()
            else if (mouse.x < width / 3)
                page.previousPage()
            else if (mouse.x > width * 2 / 3)
                page.nextPage()
        }
        // The same two taps for a screen reader.
        Repeater {
            model: [qsTr("上一页"), qsTr("下一页")]
            delegate: Item {
                objectName: index === 0 ? "previousPageArea" : "nextPageArea"
                x: index === 0 ? 0 : pager.width * 2 / 3
                width: pager.width / 3
                height: pager.height
                Accessible.role: Accessible.Button
                Accessible.name: modelData
                Accessible.onPressAction: index === 0 ? page.previousPage() : page.nextPage()
            }
        }
    }

    Rectangle {
        id: toolbar
        anchors.bottom: parent.bottom
        width: parent.width
        height: 64
        color: Theme.bar
        Row {
            anchors.centerIn: parent
            spacing: 8
            BarButton {
                objectName: "chaptersButton"
                text: qsTr("目录")
                onClicked: page.listRequested("chapters")
            }
            BarButton {
                objectName: "bookmarksButton"
                text: qsTr("书签")
                onClicked: page.listRequested("bookmarks")
            }
            BarButton {
                objectName: "bookmarkToggle"
                accessibleName: qsTr("加书签")
                checkable: true
                text: page.marked ? qsTr("★ 已加书签") : qsTr("☆ 加书签")
                highlighted: page.marked
                onClicked: page.toggleBookmark()
            }
            BarButton {
                objectName: "bookSearchButton"
                accessibleName: qsTr("在书中搜索")
                text: qsTr("搜索")
                onClicked: page.searchRequested()
            }
        }
    }

    Toast { id: toast }
}
