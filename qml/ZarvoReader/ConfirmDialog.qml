import QtQuick
import "."

// A modal question with a cancel and a confirm button.
Rectangle {
    id: dialog
    property alias message: messageText.text
    property string confirmText: "确定"
    property var pendingAction: null
    function ask(text, confirmLabel, action) {
        message = text
        confirmText = confirmLabel
        pendingAction = action
        visible = true
    }
    anchors.fill: parent
    color: Qt.rgba(0, 0, 0, 0.45)
    visible: false
    z: 90
    MouseArea { anchors.fill: parent; onClicked: dialog.visible = false }
    Rectangle {
        anchors.centerIn: parent
        width: parent.width - 80
        height: column.implicitHeight + 40
        radius: 14
        color: Theme.paper
        MouseArea { anchors.fill: parent }
        Column {
            id: column
            anchors.centerIn: parent
            width: parent.width - 40
            spacing: 24
            Text {
                id: messageText
                width: parent.width
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
                color: Theme.ink
                font.family: Theme.uiFont
                font.pixelSize: 22
            }
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 20
                DialogButton {
                    text: "取消"
                    onClicked: dialog.visible = false
                }
                DialogButton {
                    objectName: "confirmButton"
                    text: dialog.confirmText
                    primary: true
                    onClicked: {
                        dialog.visible = false
                        if (dialog.pendingAction)
                            dialog.pendingAction()
                    }
                }
            }
        }
    }
}
