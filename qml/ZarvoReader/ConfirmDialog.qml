import QtQuick
import "."

// A modal question with a cancel and a confirm button, or a notice with one
// button when there is nothing to cancel.
Rectangle {
    id: dialog
    property alias message: messageText.text
    property alias title: titleText.text
    property string confirmText: "确定"
    property string cancelText: "取消"
    property var pendingAction: null
    function ask(text, confirmLabel, action, cancelLabel) {
        message = text
        title = ""
        confirmText = confirmLabel
        cancelText = cancelLabel !== undefined ? cancelLabel : "取消"
        pendingAction = action
        visible = true
    }
    function tell(text) {
        ask(text, "知道了", null, "")
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
                id: titleText
                objectName: "dialogTitle"
                visible: text !== ""
                width: parent.width
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
                color: Theme.ink
                font.family: Theme.uiFont
                font.pixelSize: 24
                font.bold: true
            }
            Text {
                id: messageText
                objectName: "dialogMessage"
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
                    objectName: "cancelButton"
                    visible: dialog.cancelText !== ""
                    text: dialog.cancelText
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
