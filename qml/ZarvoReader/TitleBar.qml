import QtQuick
import "."

// The bar at the top of every screen: an optional back arrow, a title and a
// row of actions on the right.
Rectangle {
    id: bar
    property alias title: titleText.text
    property bool showBack: false
    default property alias actions: actionRow.data
    signal backClicked()

    width: parent ? parent.width : 480
    height: Theme.barHeight
    color: Theme.bar

    BarButton {
        id: backButton
        objectName: "backButton"
        visible: bar.showBack
        accessibleName: qsTr("返回")
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        text: "‹"
        fontSize: 40
        onClicked: bar.backClicked()
    }

    Text {
        id: titleText
        Accessible.role: Accessible.Heading
        Accessible.name: text
        anchors.left: bar.showBack ? backButton.right : parent.left
        anchors.leftMargin: bar.showBack ? 4 : 20
        anchors.right: actionRow.left
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        color: Theme.barText
        font.family: Theme.uiFont
        font.pixelSize: 24
        font.bold: true
        elide: Text.ElideRight
    }

    Row {
        id: actionRow
        anchors.right: parent.right
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        spacing: 2
    }
}
