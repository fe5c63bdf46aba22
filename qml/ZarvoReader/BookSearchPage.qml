import QtQuick
import QtQuick.Controls.Basic
import "."

// Search inside the open book: the hits come in chapter by chapter while the
// search goes on; a tap on one goes to the page that holds it.
Rectangle {
    id: page
    objectName: "bookSearchPage"
    color: Theme.paper

    signal back()
    signal jumped()

    readonly property int hitCount: bookSearch ? bookSearch.count : 0
    readonly property bool searching: bookSearch ? bookSearch.searching : false

    function search(text) {
        if (text.trim() === "") {
            toast.show(qsTr("请输入要找的字词"))
            return false
        }
        input.text = text.trim()
        bookSearch.search(text)
        return true
    }
    function jump(row) {
        if (!bookSearch.jumpTo(row)) {
            toast.show(qsTr("无法打开这一处"))
            return false
        }
        jumped()
        return true
    }
    function leave() {
        bookSearch.cancel()
        back()
    }
    function statusText() {
        if (!bookSearch || bookSearch.query === "")
            return ""
        if (bookSearch.lastError !== 0)
            return qsTr("无法读取这本书 (%1)").arg(bookSearch.lastError)
        if (searching)
            return qsTr("正在搜索…已找到 %1 处").arg(hitCount)
        if (hitCount === 0)
            return qsTr("没有找到“%1”").arg(bookSearch.query)
        if (bookSearch.truncated)
            return qsTr("只列出前 %1 处").arg(hitCount)
        return qsTr("共找到 %1 处").arg(hitCount)
    }

    Component.onCompleted: {
        bookSearch.resetIfBookChanged()
        input.text = bookSearch.query
        input.forceActiveFocus()
    }

    TitleBar {
        id: titleBar
        title: qsTr("书内搜索")
        showBack: true
        onBackClicked: page.leave()
    }

    Rectangle {
        id: inputBand
        anchors.top: titleBar.bottom
        width: parent.width
        height: 84
        color: Theme.shelf
        Row {
            anchors.centerIn: parent
            spacing: 12
            TextField {
                id: input
                objectName: "bookSearchInput"
                Accessible.name: placeholderText
                width: page.width - 36 - 12 - goButton.width
                height: 52
                placeholderText: qsTr("字、词或句子")
                font.family: Theme.uiFont
                font.pixelSize: 20
                color: Theme.ink
                leftPadding: 16
                background: Rectangle {
                    radius: 26
                    color: Theme.textOnAccent
                    border.color: input.activeFocus ? Theme.accent : Theme.divider
                    border.width: input.activeFocus ? 2 : 1
                }
                onAccepted: page.search(text)
            }
            DialogButton {
                id: goButton
                objectName: "bookSearchGo"
                width: 96
                primary: true
                text: qsTr("搜索")
                onClicked: page.search(input.text)
            }
        }
    }

    Text {
        id: status
        objectName: "bookSearchStatus"
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        anchors.top: inputBand.bottom
        x: 20
        width: parent.width - 40
        height: text === "" ? 0 : 44
        verticalAlignment: Text.AlignVCenter
        text: page.statusText()
        color: Theme.inkSoft
        font.family: Theme.uiFont
        font.pixelSize: 17
    }

    ListView {
        id: hits
        objectName: "bookSearchList"
        anchors.top: status.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        clip: true
        model: bookSearch
        delegate: Rectangle {
            width: hits.width
            height: 84
            Accessible.role: Accessible.ListItem
            Accessible.name: chapterName + " " + snippetText.text.replace(/<[^>]*>/g, "")
            Accessible.onPressAction: page.jump(index)
            color: hitArea.pressed ? Theme.accentSoft : "transparent"
            Column {
                anchors.verticalCenter: parent.verticalCenter
                x: 24
                width: parent.width - 48
                spacing: 4
                Text {
                    text: chapterName
                    elide: Text.ElideRight
                    width: parent.width
                    color: Theme.accent
                    font.family: Theme.uiFont
                    font.pixelSize: 15
                }
                Text {
                    id: snippetText
                    width: parent.width
                    text: snippet
                    textFormat: Text.StyledText
                    elide: Text.ElideRight
                    color: Theme.ink
                    font.family: Theme.bodyFont
                    font.pixelSize: 21
                }
            }
            MouseArea {
                id: hitArea
                anchors.fill: parent
                onClicked: page.jump(index)
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

    Toast { id: toast }
}
