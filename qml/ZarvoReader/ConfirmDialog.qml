import QtQuick
import "."

// A modal question with a cancel and a confirm button, or a notice with one
// button when there is nothing to cancel.
Rectangle {
    id: dialog
    property alias message: messageText.text
    property alias title: titleText.text
    property string confirmText: qsTr("确定")
    property string cancelText: qsTr("取消")
    property var pendingAction: null
    function ask(text, confirmLabel, action, cancelLabel) {
        message = text
        title = ""
        confirmText = confirmLabel
        cancelText = cancelLabel !== undefined ? cancelLabel : qsTr("取消")
        pendingAction = action
        visible = true
    }
    function tell(text) {
        ask(text, qsTr("知道了"), null, "")
    }
    anchors.fill: parent
    color: Theme.scrim
    visible: false
    z: 90
    MouseArea {
        anchors.fill: parent
        onClicked: dialog.visible = false
        // A tap beside the dialog closes it, as the cancel button does.
        Accessible.role: Accessible.Button
        Accessible.name: qsTr("关闭")
        Accessible.onPressAction: dialog.visible = false
    }
    Rectangle {
        anchors.centerIn: parent
        width: parent.width - 80
        Accessible.role: Accessible.Dialog
        Accessible.name: dialog.title !== "" ? dialog.title : dialog.message
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
                Accessible.role: Accessible.Heading
                Accessible.name: text
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
                Accessible.role: Accessible.StaticText
                Accessible.name: text
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
