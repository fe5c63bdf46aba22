import QtQuick
import "."

// The chapter list and the bookmark list of the open book, both shown from
// "listItemModel"; the tabs switch between them through the model.
Rectangle {
    id: page
    objectName: "indexListPage"
    color: Theme.paper

    // 0: chapters, 1: bookmarks.
    property int kind: 0
    property int currentRow: -1

    signal jumped()
    signal cancelled()

    // The first load stores the reading position and remembers it, so that
    // leaving the list without a choice returns to the same page.
    property bool opened: false
    function load(newKind) {
        kind = newKind
        if (!opened) {
            opened = true
            bookreader.StartUpListView()
            if (typeof readingProgress !== "undefined" && readingProgress)
                readingProgress.store()
        }
        if (kind === 0) {
            bookreader.GetChapterList()
            currentRow = listItemModel.getCurrentIndex()
            list.positionViewAtIndex(Math.max(0, currentRow), ListView.Center)
        } else {
            bookreader.GetBookmarkList()
            currentRow = -1
            list.positionViewAtBeginning()
        }
    }
    function choose(row, text) {
        if (kind === 0) {
            var code = bookreader.GetInfomationFromChapter(text, row)
            if (code !== 0) {
                toast.show(qsTr("无法读取这一章 (%1)").arg(code))
                return
            }
        } else if (!bookreader.GetInfomationFromBookMark(row)) {
            return
        }
        jumped()
    }
    function removeBookmark(row) {
        confirm.ask(qsTr("删除这个书签？"), qsTr("删除"), function () {
            bookreader.DeleteOneBookMark(row)
        })
    }
    function cancel() {
        bookreader.SetPreChapterNum()
        cancelled()
    }

    Connections {
        target: listItemModel
        function onSwitchToIndexOrBook(index) {
            page.load(index)
        }
    }

    TitleBar {
        id: titleBar
        title: listItemModel.getBookName()
        showBack: true
        onBackClicked: page.cancel()
    }

    Row {
        id: tabs
        anchors.top: titleBar.bottom
        width: parent.width
        height: 56
        Repeater {
            model: [ qsTr("目录"), qsTr("书签") ]
            delegate: Rectangle {
                width: tabs.width / 2
                Accessible.role: Accessible.PageTab
                Accessible.name: modelData
                Accessible.selected: page.kind === index
                Accessible.onPressAction: listItemModel.updateList(index)
                height: tabs.height
                color: Theme.accentSoft
                Text {
                    anchors.centerIn: parent
                    text: modelData
                    color: page.kind === index ? Theme.accent : Theme.inkSoft
                    font.bold: page.kind === index
                    font.family: Theme.uiFont
                    font.pixelSize: 20
                }
                Rectangle {
                    visible: page.kind === index
                    anchors.bottom: parent.bottom
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: 80
                    height: 4
                    radius: 2
                    color: Theme.accent
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: listItemModel.updateList(index)
                }
            }
        }
    }

    ListView {
        id: list
        objectName: "indexList"
        anchors.top: tabs.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        clip: true
        model: listItemModel
        delegate: Rectangle {
            width: list.width
            height: page.kind === 0 ? 60 : 84
            Accessible.role: Accessible.ListItem
            Accessible.name: page.kind === 0 ? menutext
                                             : listItemModel.retDate(menutext) + " "
                                               + listItemModel.retCon(menutext).trim()
            Accessible.selected: index === page.currentRow
            Accessible.onPressAction: page.choose(index, menutext)
            color: rowArea.pressed ? Theme.accentSoft
                                   : (index === page.currentRow ? Theme.currentRow : "transparent")
            Text {
                visible: page.kind === 0
                anchors.verticalCenter: parent.verticalCenter
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.leftMargin: 24
                anchors.rightMargin: 24
                text: menutext
                elide: Text.ElideRight
                color: index === page.currentRow ? Theme.accent : Theme.ink
                font.family: Theme.bodyFont
                font.pixelSize: 21
            }
            Column {
                visible: page.kind === 1
                anchors.verticalCenter: parent.verticalCenter
                anchors.left: parent.left
                anchors.right: deleteButton.left
                anchors.leftMargin: 24
                spacing: 4
                Text {
                    text: listItemModel.retDate(menutext)
                    color: Theme.inkSoft
                    font.family: Theme.uiFont
                    font.pixelSize: 15
                }
                Text {
                    width: parent.width
                    text: listItemModel.retCon(menutext).trim()
                    elide: Text.ElideRight
                    color: Theme.ink
                    font.family: Theme.bodyFont
                    font.pixelSize: 21
                }
            }
            MouseArea {
                id: rowArea
                anchors.fill: parent
                onClicked: page.choose(index, menutext)
            }
            BarButton {
                id: deleteButton
                objectName: "deleteBookmark"
                accessibleDescription: qsTr("删除这个书签")
                visible: page.kind === 1
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("删除")
                textColor: Theme.badge
                onClicked: page.removeBookmark(index)
            }
            Rectangle {
                anchors.bottom: parent.bottom
                x: 20
                width: parent.width - 40
                height: 1
                color: Theme.divider
            }
        }
    }

    Text {
        anchors.centerIn: list
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        visible: list.count === 0
        text: page.kind === 0 ? qsTr("这本书没有目录") : qsTr("还没有书签\n阅读时点“加书签”即可添加")
        horizontalAlignment: Text.AlignHCenter
        color: Theme.inkSoft
        font.family: Theme.uiFont
        font.pixelSize: 20
    }

    ConfirmDialog { id: confirm }
    Toast { id: toast }
}
