import QtQuick
import QtQuick.Controls.Basic
import "."

// User settings: whether to ask before a download overwrites a book, and
// light or dark screens.
Rectangle {
    id: page
    objectName: "settingsPage"
    color: Theme.paper
    signal back()

    TitleBar {
        id: titleBar
        title: qsTr("设置")
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
                    text: qsTr("下载覆盖提醒")
                    color: Theme.ink
                    font.family: Theme.uiFont
                    font.pixelSize: 22
                }
                Text {
                    width: parent.width
                    wrapMode: Text.Wrap
                    text: qsTr("下载的书已在设备上时，覆盖之前先询问我")
                    color: Theme.inkSoft
                    font.family: Theme.uiFont
                    font.pixelSize: 15
                }
            }
            Switch {
                id: notifySwitch
                objectName: "overwriteNotifySwitch"
                Accessible.name: qsTr("下载覆盖提醒")
                Accessible.description: qsTr("下载的书已在设备上时，覆盖之前先询问我")
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
                        color: Theme.textOnAccent
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
        // Light, dark, or as the desktop prefers; kept by the colour scheme.
        Rectangle {
            objectName: "colorSchemeRow"
            width: parent.width
            height: 124
            color: "transparent"
            visible: typeof colorScheme !== "undefined" && colorScheme !== null
            Text {
                id: schemeTitle
                anchors.left: parent.left
                anchors.leftMargin: 24
                anchors.top: parent.top
                anchors.topMargin: 14
                text: qsTr("夜间阅读")
                color: Theme.ink
                font.family: Theme.uiFont
                font.pixelSize: 22
            }
            Row {
                anchors.left: parent.left
                anchors.leftMargin: 24
                anchors.top: schemeTitle.bottom
                anchors.topMargin: 14
                spacing: 10
                Repeater {
                    model: [{ mode: "light", label: qsTr("浅色") },
                            { mode: "dark", label: qsTr("深色") },
                            { mode: "system", label: qsTr("跟随系统") }]
                    delegate: Rectangle {
                        readonly property bool chosen: colorScheme && colorScheme.mode === modelData.mode
                        objectName: "scheme_" + modelData.mode
                        width: schemeLabel.implicitWidth + 36
                        height: 44
                        radius: 22
                        color: chosen ? Theme.accent : "transparent"
                        border.color: chosen ? Theme.accent : Theme.divider
                        Accessible.role: Accessible.RadioButton
                        Accessible.name: modelData.label
                        Accessible.checkable: true
                        Accessible.checked: chosen
                        Accessible.onPressAction: colorScheme.mode = modelData.mode
                        Text {
                            id: schemeLabel
                            anchors.centerIn: parent
                            text: modelData.label
                            color: parent.chosen ? Theme.textOnAccent : Theme.ink
                            font.family: Theme.uiFont
                            font.pixelSize: 18
                        }
                        MouseArea {
                            anchors.fill: parent
                            onClicked: colorScheme.mode = modelData.mode
                        }
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
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.horizontalCenter: parent.horizontalCenter
            text: "ZarvoReader 2.0.0"
            color: Theme.gray
            font.family: Theme.uiFont
            font.pixelSize: 15
        }
    }
}
