import QtQuick
import QtQuick.Controls

// The first screen: shows that the reader has started and what time it is.
Rectangle {
    id: root
    width: 480
    height: 800
    color: "#f4efe6"

    // Screens the screenshot tool walks through, in order.
    property var screenNames: ["start"]
    property string currentScreen: "start"

    function showScreen(name) {
        if (screenNames.indexOf(name) >= 0)
            currentScreen = name
    }

    function twoDigits(n) {
        return (n < 10 ? "0" : "") + n
    }

    readonly property bool hasClock: typeof timemodel !== "undefined" && timemodel !== null

    Item {
        id: startScreen
        anchors.fill: parent
        visible: root.currentScreen === "start"

        Label {
            id: clock
            anchors.top: parent.top
            anchors.right: parent.right
            anchors.margins: 16
            font.pixelSize: 22
            color: "#5a4a3a"
            text: root.hasClock ? root.twoDigits(timemodel.hour) + ":" + root.twoDigits(timemodel.minute) : "--:--"
        }

        Column {
            anchors.centerIn: parent
            spacing: 18

            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "ZarvoReader"
                font.pixelSize: 48
                font.bold: true
                color: "#3b2f25"
            }

            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                text: root.hasClock && timemodel.activeFlag ? qsTr("Started and ready") : qsTr("Started")
                font.pixelSize: 22
                color: "#6b5b4b"
            }
        }
    }
}
