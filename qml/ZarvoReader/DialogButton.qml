import QtQuick
import "."

Rectangle {
    id: button
    property alias text: label.text
    property bool primary: false
    signal clicked()
    Accessible.role: Accessible.Button
    Accessible.name: label.text
    Accessible.onPressAction: button.clicked()
    width: 150
    height: 52
    radius: 10
    color: primary ? (area.pressed ? Qt.darker(Theme.accent, 1.2) : Theme.accent)
                   : (area.pressed ? Theme.divider : Theme.accentSoft)
    Text {
        id: label
        anchors.centerIn: parent
        color: button.primary ? Theme.textOnAccent : Theme.ink
        font.family: Theme.uiFont
        font.pixelSize: 20
    }
    MouseArea { id: area; anchors.fill: parent; onClicked: button.clicked() }
}
