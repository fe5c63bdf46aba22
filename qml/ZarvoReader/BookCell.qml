import QtQuick
import "."

// One book on the shelf: cover with the new-book badge, title, author, size.
// A tap opens it; a long press asks to delete it.
Item {
    id: cell
    width: GridView.view ? GridView.view.cellWidth : 156
    height: GridView.view ? GridView.view.cellHeight : 262
    signal open()
    signal remove()

    Rectangle {
        id: coverFrame
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.top
        anchors.topMargin: 8
        width: 116
        height: 168
        color: Theme.accentSoft
        border.color: Theme.divider
        Image {
            id: cover
            anchors.fill: parent
            anchors.margins: 1
            source: iconPath ? "file://" + iconPath : ""
            fillMode: Image.PreserveAspectCrop
            smooth: true
            cache: false
        }
        Text {
            anchors.centerIn: parent
            width: parent.width - 12
            visible: cover.status !== Image.Ready
            text: bookName
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            color: Theme.ink
            font.family: Theme.bodyFont
            font.pixelSize: 18
        }
        Rectangle {
            objectName: "newBadge"
            visible: newIconFlag
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: -8
            width: 36
            height: 36
            radius: 18
            color: Theme.badge
            Text {
                anchors.centerIn: parent
                text: "新"
                color: "white"
                font.family: Theme.uiFont
                font.pixelSize: 16
                font.bold: true
            }
        }
    }
    Column {
        anchors.top: coverFrame.bottom
        anchors.topMargin: 6
        anchors.horizontalCenter: parent.horizontalCenter
        width: parent.width - 12
        spacing: 1
        Text {
            width: parent.width
            text: bookName
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            color: Theme.ink
            font.family: Theme.uiFont
            font.pixelSize: 18
            font.bold: true
        }
        Text {
            width: parent.width
            text: authorName
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            color: Theme.inkSoft
            font.family: Theme.uiFont
            font.pixelSize: 14
        }
        Text {
            width: parent.width
            text: bookSize
            horizontalAlignment: Text.AlignHCenter
            color: Theme.gray
            font.family: Theme.uiFont
            font.pixelSize: 13
        }
    }
    MouseArea {
        anchors.fill: parent
        onClicked: cell.open()
        onPressAndHold: cell.remove()
    }
}
