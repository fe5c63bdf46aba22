import QtQuick
import "."

// A book cover loaded from the store; until it arrives (or when it cannot)
// a coloured card with the title stands in.
Rectangle {
    id: cover
    Accessible.role: Accessible.Graphic
    Accessible.name: qsTr("《%1》的封面").arg(title)
    property string source: ""
    property string title: ""
    property int titleSize: 14
    readonly property bool loaded: picture.status === Image.Ready

    // A stable tint per title, so the stand-in cards are told apart.
    function tint(text) {
        var palette = ["#a0522d", "#6b8e23", "#4f6d7a", "#8b5a83", "#b5793a", "#5d7b5a"]
        var sum = 0
        for (var i = 0; i < text.length; ++i)
            sum += text.charCodeAt(i)
        return palette[sum % palette.length]
    }

    color: tint(title)
    radius: 4
    clip: true

    Text {
        anchors.fill: parent
        anchors.margins: 6
        visible: !cover.loaded
        text: cover.title
        wrapMode: Text.Wrap
        elide: Text.ElideRight
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        color: Theme.textOnAccent
        font.family: Theme.bodyFont
        font.pixelSize: cover.titleSize
        font.bold: true
    }
    Image {
        id: picture
        anchors.fill: parent
        source: cover.source
        fillMode: Image.PreserveAspectCrop
        asynchronous: true
        smooth: true
    }
    Rectangle {
        anchors.fill: parent
        color: "transparent"
        radius: cover.radius
        border.color: Qt.rgba(0, 0, 0, 0.12)
    }
}
