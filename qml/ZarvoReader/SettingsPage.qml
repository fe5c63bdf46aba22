import QtQuick
import QtQuick.Controls.Basic
import "."

// User settings: whether to ask before a download overwrites a book.
Rectangle {
    id: page
    objectName: "settingsPage"
    color: Theme.paper
    signal back()

    TitleBar {
        id: titleBar
        title: "设置"
        showBack: true
        onBackClicked: page.back()
    }

    Column {
        anchors.top: titleBar.bottom
        anchors.topMargin: 12
        width: parent.width
        Rectangle {
            width: parent.width
            height: 96
            color: "transparent"
            Column {
                anchors.left: parent.left
                anchors.leftMargin: 24
                anchors.right: notifySwitch.left
                anchors.verticalCenter: parent.verticalCenter
                spacing: 6
                Text {
                    text: "下载覆盖提醒"
                    color: Theme.ink
                    font.family: Theme.uiFont
                    font.pixelSize: 22
                }
                Text {
                    width: parent.width
                    wrapMode: Text.Wrap
                    text: "下载的书已在设备上时，覆盖之前先询问我"
                    color: Theme.inkSoft
                    font.family: Theme.uiFont
                    font.pixelSize: 15
                }
            }
            Switch {
                id: notifySwitch
                objectName: "overwriteNotifySwitch"
                anchors.right: parent.right
                anchors.rightMargin: 16
                anchors.verticalCenter: parent.verticalCenter
                checked: ebooksetting.getIsNotifyUserOverwriteDL()
                onToggled: ebooksetting.setIsNotifyUserOverwriteDL(checked)
                indicator: Rectangle {
                    implicitWidth: 56
                    implicitHeight: 30
                    x: notifySwitch.leftPadding
                    y: (notifySwitch.height - height) / 2
                    radius: height / 2
                    color: notifySwitch.checked ? Theme.accent : Theme.gray
                    Rectangle {
                        x: notifySwitch.checked ? parent.width - width - 3 : 3
                        anchors.verticalCenter: parent.verticalCenter
                        width: 24
                        height: 24
                        radius: 12
                        color: "white"
                        Behavior on x { NumberAnimation { duration: 120 } }
                    }
                }
            }
            Rectangle {
                anchors.bottom: parent.bottom
                x: 20
                width: parent.width - 40
                height: 1
                color: Theme.divider
            }
        }
        Item { width: 1; height: 40 }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "ZarvoReader 2.0.0"
            color: Theme.gray
            font.family: Theme.uiFont
            font.pixelSize: 15
        }
    }
}
