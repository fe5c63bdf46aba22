import QtQuick
import QtQuick.Controls.Basic
import "."

// The books a store search found. The page buttons below follow the search
// manager's gray flags; a further page is added under the rows shown.
Rectangle {
    id: page
    objectName: "resultsPage"
    color: Theme.paper

    property string keyword: ""
    property bool waiting: false
    signal back()
    signal detailsRequested(string bookId)

    readonly property int rowCount: list.count
    readonly property bool pageUpEnabled: !resultSearchModel.pageUpGrayFlag
    readonly property bool pageDownEnabled: !resultSearchModel.pageDownGrayFlag
    // Row where the page being loaded starts, to bring it into view.
    property int pageStartRow: 0

    // The search itself was started by the search page; this waits for it.
    function start(text) {
        keyword = text
        pageStartRow = 0
        status.showLoading()
        waiting = true
    }
    function pageDown() {
        if (waiting || !pageDownEnabled)
            return false
        pageStartRow = list.count
        if (!resultSearchModel.handlePagedown())
            return false
        waiting = true
        return true
    }
    function pageUp() {
        if (waiting || !pageUpEnabled)
            return false
        return resultSearchModel.handlePageup()
    }

    Connections {
        target: searchMgrModel
        function onSearchResultResponse(errorCode) {
            if (!page.waiting)
                return
            page.waiting = false
            if (errorCode !== 200) {
                if (list.count === 0)
                    status.showError(errorCode)
                else
                    toast.show(status.describe(errorCode))
                return
            }
            if (list.count === 0) {
                status.showEmpty()
                return
            }
            status.showReady()
            list.positionViewAtIndex(Math.min(page.pageStartRow, list.count - 1), ListView.Beginning)
        }
    }

    TitleBar {
        id: titleBar
        title: "“" + page.keyword + "”"
        showBack: true
        onBackClicked: page.back()
    }

    Rectangle {
        id: summary
        anchors.top: titleBar.bottom
        width: parent.width
        height: 44
        color: Theme.shelf
        Text {
            objectName: "resultTitle"
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.left: parent.left
            anchors.leftMargin: 18
            anchors.right: parent.right
            anchors.rightMargin: 18
            anchors.verticalCenter: parent.verticalCenter
            text: resultSearchModel.onlineResultTitle
            elide: Text.ElideRight
            color: Theme.inkSoft
            font.family: Theme.uiFont
            font.pixelSize: 16
        }
    }

    ListView {
        id: list
        objectName: "resultList"
        anchors.top: summary.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: pager.top
        clip: true
        model: resultSearchModel
        boundsBehavior: Flickable.StopAtBounds
        delegate: Item {
            width: list.width
            height: 128
            Accessible.role: Accessible.ListItem
            Accessible.name: cover.title
            Accessible.description: [authorName, presentation].filter(Boolean).join(" · ")
            Accessible.onPressAction: page.detailsRequested(resultSearchModel.getBookID(index))
            Rectangle {
                anchors.fill: parent
                color: rowArea.pressed ? Theme.accentSoft : "transparent"
            }
            StoreCover {
                id: cover
                x: 18
                anchors.verticalCenter: parent.verticalCenter
                width: 74
                height: 106
                source: iconPath
                title: bookName
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
                    text: bookName
                    elide: Text.ElideRight
                    color: Theme.ink
                    font.family: Theme.uiFont
                    font.pixelSize: 20
                    font.bold: true
                }
                Text {
                    width: parent.width
                    text: authorName
                    elide: Text.ElideRight
                    color: Theme.accent
                    font.family: Theme.uiFont
                    font.pixelSize: 15
                }
                Text {
                    width: parent.width
                    text: presentation
                    maximumLineCount: 2
                    wrapMode: Text.Wrap
                    elide: Text.ElideRight
                    color: Theme.inkSoft
                    font.family: Theme.uiFont
                    font.pixelSize: 15
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
                onClicked: page.detailsRequested(resultSearchModel.getBookID(index))
            }
        }
    }

    // The page buttons; gray ones do nothing.
    Rectangle {
        id: pager
        anchors.bottom: parent.bottom
        width: parent.width
        height: 68
        color: Theme.bar
        BarButton {
            id: upButton
            objectName: "pageUpButton"
            accessibleName: qsTr("上一页")
            anchors.left: parent.left
            anchors.leftMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("‹ 上一页")
            enabledLook: page.pageUpEnabled && !page.waiting
            onClicked: page.pageUp()
        }
        Text {
            objectName: "resultCount"
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.centerIn: parent
            text: page.waiting && list.count > 0 ? qsTr("正在加载…") : qsTr("已显示 %n 本", "", list.count)
            color: Theme.barText
            font.family: Theme.uiFont
            font.pixelSize: 16
        }
        BarButton {
            id: downButton
            objectName: "pageDownButton"
            accessibleName: qsTr("下一页")
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("下一页 ›")
            enabledLook: page.pageDownEnabled && !page.waiting
            onClicked: page.pageDown()
        }
    }

    StoreStatus {
        id: status
        anchors.top: titleBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        loadingText: qsTr("正在搜索…")
        emptyText: qsTr("没有找到相关的书，换个关键词试试")
        onRetry: {
            page.start(page.keyword)
            resultSearchModel.handleSearchButtonClicked(page.keyword)
            searchMgrModel.getSearchResultList()
        }
    }

    Toast { id: toast }
}
