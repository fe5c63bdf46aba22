import QtQuick
import QtQuick.Controls.Basic
import "."

// A recommendation list of the store, twelve books a page: further pages are
// added below as the reader reaches the end, until the last one.
Rectangle {
    id: page
    objectName: "recommendPage"
    color: Theme.paper

    property string listId: ""
    property string listName: ""
    signal back()
    signal detailsRequested(string bookId)

    // A page was asked for and its answer has not come yet.
    property bool waiting: false
    // The model answers this only when asked, so it is read after each page.
    property bool meetBottom: false
    property int lastError: 0
    readonly property int rowCount: list.count
    readonly property int pageCount: recommenddetailmodel.pageCount
    readonly property int currentPage: recommenddetailmodel.currentPageNum
    readonly property int totalBooks: recommenddetailmodel.ItemNumInOnePage

    function load(id, name) {
        listId = id
        listName = name
        meetBottom = false
        lastError = 0
        status.showLoading()
        waiting = true
        bookNetMgr.GetMoreRecommendInfo(id)
    }
    // Asks for the page after the last one shown; nothing once the end is
    // reached or while a page is on its way.
    function loadNextPage() {
        if (waiting || meetBottom || status.mode !== "ready")
            return false
        lastError = 0
        waiting = true
        recommenddetailmodel.clickPageIcon(1)
        return true
    }

    Connections {
        target: bookNetMgr
        function onMoreRequestResponse(errorCode) {
            if (!page.waiting)
                return
            page.waiting = false
            page.meetBottom = recommenddetailmodel.getIsMeetBottom()
            if (errorCode === 200) {
                if (list.count === 0)
                    status.showEmpty()
                else
                    status.showReady()
            } else if (list.count === 0) {
                status.showError(errorCode)
            } else {
                // The rows already shown stay; the footer offers another try.
                page.lastError = errorCode
            }
        }
    }

    TitleBar {
        id: titleBar
        title: page.listName !== "" ? page.listName : qsTr("推荐书单")
        showBack: true
        onBackClicked: page.back()
    }

    // Where in the list the reader is, by the store's own page numbers.
    Rectangle {
        id: indicator
        anchors.top: titleBar.bottom
        width: parent.width
        height: 40
        color: Theme.shelf
        Text {
            objectName: "pageIndicator"
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.left: parent.left
            anchors.leftMargin: 18
            anchors.verticalCenter: parent.verticalCenter
            text: page.pageCount > 0 ? qsTr("第 %1 / %2 页").arg(page.currentPage).arg(page.pageCount)
                                     : ""
            color: Theme.inkSoft
            font.family: Theme.uiFont
            font.pixelSize: 15
        }
        Text {
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.right: parent.right
            anchors.rightMargin: 18
            anchors.verticalCenter: parent.verticalCenter
            text: page.totalBooks > 0 ? qsTr("共 %n 本", "", page.totalBooks) : ""
            color: Theme.inkSoft
            font.family: Theme.uiFont
            font.pixelSize: 15
        }
    }

    ListView {
        id: list
        objectName: "recommendList"
        anchors.top: indicator.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        clip: true
        model: recommenddetailmodel
        boundsBehavior: Flickable.StopAtBounds
        onAtYEndChanged: {
            if (atYEnd && count > 0)
                page.loadNextPage()
        }

        delegate: Item {
            width: list.width
            height: 136
            Accessible.role: Accessible.ListItem
            Accessible.name: cover.title
            Accessible.description: [authorname, summary].filter(Boolean).join(" · ")
            Accessible.onPressAction: page.detailsRequested(bookID)
            Rectangle {
                anchors.fill: parent
                color: rowArea.pressed ? Theme.accentSoft : "transparent"
            }
            StoreCover {
                id: cover
                x: 18
                anchors.verticalCenter: parent.verticalCenter
                width: 78
                height: 112
                source: imagepath
                title: bookname
                titleSize: 13
            }
            Column {
                anchors.left: cover.right
                anchors.leftMargin: 16
                anchors.right: parent.right
                anchors.rightMargin: 18
                anchors.verticalCenter: parent.verticalCenter
                spacing: 6
                Text {
                    width: parent.width
                    text: bookname
                    elide: Text.ElideRight
                    color: Theme.ink
                    font.family: Theme.uiFont
                    font.pixelSize: 20
                    font.bold: true
                }
                Text {
                    width: parent.width
                    visible: authorname !== ""
                    text: authorname
                    elide: Text.ElideRight
                    color: Theme.accent
                    font.family: Theme.uiFont
                    font.pixelSize: 15
                }
                Text {
                    width: parent.width
                    text: summary
                    maximumLineCount: 2
                    wrapMode: Text.Wrap
                    elide: Text.ElideRight
                    color: Theme.inkSoft
                    font.family: Theme.uiFont
                    font.pixelSize: 15
                    lineHeight: 1.1
                }
            }
            Rectangle {
                anchors.bottom: parent.bottom
                x: 18
                width: parent.width - 36
                height: 1
                color: Theme.divider
            }
            MouseArea {
                id: rowArea
                anchors.fill: parent
                onClicked: page.detailsRequested(bookID)
            }
        }

        footer: Item {
            width: list.width
            height: 72
            // The footer is a button while there is a page to load.
            Accessible.role: page.meetBottom || page.waiting ? Accessible.StaticText
                                                             : Accessible.Button
            Accessible.name: footerText.text
            Accessible.onPressAction: page.loadNextPage()
            Text {
                id: footerText
                objectName: "recommendFooter"
                anchors.centerIn: parent
                text: page.waiting ? qsTr("正在加载下一页…")
                                   : page.lastError !== 0 ? qsTr("下一页没有加载成功，点这里重试")
                                   : page.meetBottom ? qsTr("已经到底了，共 %n 本", "", list.count)
                                   : qsTr("上拉加载更多")
                color: page.lastError !== 0 ? Theme.accent : Theme.gray
                font.family: Theme.uiFont
                font.pixelSize: 16
            }
            MouseArea {
                anchors.fill: parent
                enabled: !page.meetBottom && !page.waiting
                onClicked: page.loadNextPage()
            }
        }
    }

    StoreStatus {
        id: status
        anchors.top: titleBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        emptyText: qsTr("这个书单还没有书")
        onRetry: page.load(page.listId, page.listName)
    }
}
