import QtQuick
import "."

// A short message over the bottom of the screen that fades by itself.
Rectangle {
    id: toast
    Accessible.role: Accessible.AlertMessage
    Accessible.name: message
    readonly property alias message: text.text
    function show(message) {
        text.text = message
        opacity = 1
        hideTimer.restart()
    }
    function hide() {
        hideTimer.stop()
        opacity = 0
    }
    anchors.horizontalCenter: parent.horizontalCenter
    anchors.bottom: parent.bottom
    anchors.bottomMargin: 110
    width: Math.min(parent.width - 60, text.implicitWidth + 40)
    height: text.implicitHeight + 24
    radius: height / 2
    color: Theme.toast
    opacity: 0
    visible: opacity > 0
    z: 100
    Behavior on opacity { NumberAnimation { duration: 180 } }
    Text {
        id: text
        anchors.centerIn: parent
        width: Math.min(implicitWidth, toast.parent.width - 100)
        wrapMode: Text.Wrap
        color: Theme.textOnAccent
        font.family: Theme.uiFont
        font.pixelSize: 18
    }
    Timer { id: hideTimer; interval: 2200; onTriggered: toast.opacity = 0 }
}
