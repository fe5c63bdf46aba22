import QtQuick
import "."

// The title-bar way into the download centre, with the number of running
// downloads on a badge. Hidden while the program runs without downloads.
BarButton {
    id: button
    objectName: "downloadsButton"
    readonly property int running: Engines.runningDownloads
    text: qsTr("下载")
    visible: Engines.downloads !== null
    accessibleDescription: running > 0 ? qsTr("%n 本正在下载", "", running) : ""

    Rectangle {
        objectName: "downloadBadge"
        visible: button.running > 0
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.topMargin: 6
        width: Math.max(22, badgeText.implicitWidth + 10)
        height: 22
        radius: 11
        color: Theme.badge
        Text {
            id: badgeText
            anchors.centerIn: parent
            text: button.running
            color: Theme.textOnAccent
            font.family: Theme.uiFont
            font.pixelSize: 13
            font.bold: true
        }
    }
}
