import QtQuick
import "."

// One book on the shelf: cover with the new-book badge, title, author, size.
// A tap opens it; a long press asks to delete it.
Item {
    id: cell
    width: GridView.view ? GridView.view.cellWidth : 156
    height: GridView.view ? GridView.view.cellHeight : 262
    signal open()
    // Percent read, -1 for a book never opened (the shelf's "readProgress").
    readonly property int progress: typeof readProgress === "number" ? readProgress : -1
    signal remove()
    Accessible.role: Accessible.ListItem
    Accessible.name: bookName
    Accessible.description: [newIconFlag ? qsTr("新书") : "", authorName, bookSize].filter(Boolean)
                                                                                .join(" · ")
    Accessible.onPressAction: cell.open()

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
            // Read as the PNG it is (see CoverImageProvider); the path is
            // encoded, so a "#" or "?" in a book id stays part of it.
            source: iconPath ? "image://cover/" + encodeURIComponent(iconPath) : ""
            fillMode: Image.PreserveAspectCrop
            smooth: true
            cache: false
        }
        // The title stands in for a missing cover. Built only then: a shelf
        // of covers lays out no hidden text and needs no body font to start.
        // A local cover is loaded when the image completes, so its first
        // "not ready" (before that) does not count.
        Loader {
            anchors.centerIn: parent
            width: parent.width - 12
            active: !iconPath || cover.status === Image.Error || cover.status === Image.Loading
            sourceComponent: Text {
                text: bookName
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
                color: Theme.ink
                font.family: Theme.bodyFont
                font.pixelSize: 18
            }
        }
        Rectangle {
            objectName: "newBadge"
            visible: newIconFlag
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: -8
            // A pill when the word is wider than the round badge.
            width: Math.max(36, newText.implicitWidth + 14)
            height: 36
            radius: 18
            color: Theme.badge
            Text {
                id: newText
                anchors.centerIn: parent
                text: qsTr("新")
                color: Theme.textOnAccent
                font.family: Theme.uiFont
                font.pixelSize: 16
                font.bold: true
            }
        }
        // How far a started book has been read, along the foot of the cover.
        Rectangle {
            objectName: "readProgress"
            visible: cell.progress >= 0
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 1
            height: 26
            color: Theme.scrim
            Rectangle {
                anchors.left: parent.left
                anchors.bottom: parent.bottom
                width: parent.width * Math.max(0, cell.progress) / 100
                height: 3
                color: Theme.accent
            }
            Text {
                objectName: "readProgressText"
                anchors.centerIn: parent
                text: qsTr("读到 %1%").arg(cell.progress)
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                color: Theme.textOnAccent
                font.family: Theme.uiFont
                font.pixelSize: 14
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
