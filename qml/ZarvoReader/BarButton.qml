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

    // What a screen reader says; buttons that show a glyph name themselves.
    property string accessibleName: label.text
    property string accessibleDescription: ""
    property bool checkable: false
    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.description: enabledLook ? accessibleDescription : qsTr("暂不可用")
    Accessible.checkable: checkable
    Accessible.checked: checkable && highlighted
    Accessible.onPressAction: {
        if (button.enabledLook)
            button.clicked()
    }

    width: Math.max(56, label.implicitWidth + 24)
    height: Theme.barHeight

    Rectangle {
        anchors.fill: parent
        anchors.margins: 8
        radius: 8
        color: area.pressed ? Theme.barPressed
                            : (button.highlighted ? Theme.barHighlight : "transparent")
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
