import QtQuick
import "."

// The reader's store account: the lines the store sends, label and value.
Rectangle {
    id: page
    objectName: "accountPage"
    color: Theme.paper

    property bool waiting: false
    signal back()

    readonly property int rowCount: lines.count

    function load() {
        status.showLoading()
        waiting = true
        bookNetMgr.GetAccountInfo()
    }

    Connections {
        target: bookNetMgr
        function onMyAccountRequestResponse(errorCode) {
            if (!page.waiting)
                return
            page.waiting = false
            if (errorCode !== 200)
                status.showError(errorCode)
            else if (lines.count === 0)
                status.showEmpty()
            else
                status.showReady()
        }
    }

    TitleBar {
        id: titleBar
        title: qsTr("我的账户")
        showBack: true
        onBackClicked: page.back()
    }

    Rectangle {
        id: band
        anchors.top: titleBar.bottom
        width: parent.width
        height: 150
        color: Theme.shelf
        Rectangle {
            id: avatar
            x: 28
            anchors.verticalCenter: parent.verticalCenter
            width: 84
            height: 84
            radius: 42
            color: Theme.accent
            Text {
                anchors.centerIn: parent
                text: qsTr("读")
                color: Theme.textOnAccent
                font.family: Theme.uiFont
                font.pixelSize: 38
                font.bold: true
            }
        }
        Column {
            anchors.left: avatar.right
            anchors.leftMargin: 20
            anchors.verticalCenter: parent.verticalCenter
            spacing: 6
            Text {
                text: qsTr("书城读者")
                color: Theme.ink
                font.family: Theme.uiFont
                font.pixelSize: 24
                font.bold: true
            }
            Text {
                text: qsTr("账户信息由书城提供")
                color: Theme.inkSoft
                font.family: Theme.uiFont
                font.pixelSize: 15
            }
        }
    }

    ListView {
        id: lines
        objectName: "accountList"
        anchors.top: band.bottom
        anchors.topMargin: 12
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        clip: true
        interactive: contentHeight > height
        model: accountmodel
        delegate: Item {
            width: lines.width
            height: 64
            Accessible.role: Accessible.StaticText
            Accessible.name: qsTr("%1：%2").arg(itemText).arg(outPutText)
            Text {
                x: 24
                anchors.verticalCenter: parent.verticalCenter
                text: itemText
                color: Theme.inkSoft
                font.family: Theme.uiFont
                font.pixelSize: 19
            }
            Text {
                anchors.right: parent.right
                anchors.rightMargin: 24
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width / 2
                horizontalAlignment: Text.AlignRight
                text: outPutText
                elide: Text.ElideLeft
                color: Theme.ink
                font.family: Theme.uiFont
                font.pixelSize: 19
                font.bold: true
            }
            Rectangle {
                anchors.bottom: parent.bottom
                x: 24
                width: parent.width - 48
                height: 1
                color: Theme.divider
            }
        }
    }

    StoreStatus {
        id: status
        anchors.top: titleBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        emptyText: qsTr("书城没有返回账户信息")
        onRetry: page.load()
    }
}
