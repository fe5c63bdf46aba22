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

    // Re-reads the prepared page from the engine.
    function refresh() {
        var l = []
        for (var i = 0; i < linesPerPage; ++i)
            l.push(bookreader.GetOneLineContent(i))
        lines = l
        marked = bookreader.IsBookMark()
    }
    // Moves to the stored position (or the one just chosen from a list).
    function start() {
        var code = bookreader.GetFirstPageContent()
        if (code !== 0)
            toast.show("无法读取这一章 (" + code + ")")
        bookName = listItemModel.getBookName()
        refresh()
    }
    function nextPage() {
        if (bookreader.IsTheLastPage()) {
            toast.show("已经是最后一页")
            return
        }
        var code = bookreader.GetNextOnePageContent()
        if (code !== 0)
            toast.show("无法读取下一章 (" + code + ")")
        refresh()
    }
    function previousPage() {
        if (bookreader.IsTheFistPage()) {
            toast.show("已经是第一页")
            return
        }
        var code = bookreader.GetPreOnePageContent()
        if (code !== 0)
            toast.show("无法读取上一章 (" + code + ")")
        refresh()
    }
    function toggleBookmark() {
        bookreader.SaveBookMrak()
        marked = bookreader.IsBookMark()
        toast.show(marked ? "已添加书签" : "已删除书签")
    }
    // Stores the position; the caller then leaves the screen.
    function leave() {
        bookreader.StartUpListView()
    }

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
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            height: 56
            text: "‹"
            fontSize: 38
            onClicked: page.leaveRequested()
        }
        Text {
            anchors.left: backButton.right
            anchors.right: clock.left
            anchors.verticalCenter: parent.verticalCenter
            anchors.rightMargin: 8
            text: page.bookName
            elide: Text.ElideRight
            color: Theme.barText
            font.family: Theme.uiFont
            font.pixelSize: 20
        }
        Text {
            id: clock
            objectName: "clock"
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
                text: "目录"
                onClicked: page.listRequested("chapters")
            }
            BarButton {
                objectName: "bookmarksButton"
                text: "书签"
                onClicked: page.listRequested("bookmarks")
            }
            BarButton {
                objectName: "bookmarkToggle"
                text: page.marked ? "★ 已加书签" : "☆ 加书签"
                highlighted: page.marked
                onClicked: page.toggleBookmark()
            }
        }
    }

    Toast { id: toast }
}
