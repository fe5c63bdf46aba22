import QtQuick
import "."

// A flat text button for the title and tool bars.
Item {
    id: button
    property alias text: label.text
    property int fontSize: 20
    property bool highlighted: false
    property bool enabledLook: true
    property color textColor: Theme.barText
    signal clicked()

    width: Math.max(56, label.implicitWidth + 24)
    height: Theme.barHeight

    Rectangle {
        anchors.fill: parent
        anchors.margins: 8
        radius: 8
        color: area.pressed ? Qt.rgba(1, 1, 1, 0.18)
                            : (button.highlighted ? Qt.rgba(1, 1, 1, 0.12) : "transparent")
    }
    Text {
        id: label
        anchors.centerIn: parent
        color: button.enabledLook ? button.textColor : Theme.gray
        font.family: Theme.uiFont
        font.pixelSize: button.fontSize
    }
    MouseArea {
        id: area
        anchors.fill: parent
        enabled: button.enabledLook
        onClicked: button.clicked()
    }
}
