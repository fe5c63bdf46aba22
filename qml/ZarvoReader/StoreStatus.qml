import QtQuick
import QtQuick.Controls.Basic
import "."
import "ResultWords.js" as ResultWords

// What a store screen shows while its answer is on the way or when it did not
// come: a spinner, or the words for the result code and a retry button.
Rectangle {
    id: status
    // "loading", "error", "empty" or "ready"; the panel hides when ready.
    property string mode: "loading"
    property int errorCode: 0
    property string loadingText: qsTr("正在连接书城…")
    property string emptyText: qsTr("这里还没有书")
    signal retry()

    function showLoading() {
        mode = "loading"
    }
    function showReady() {
        mode = "ready"
    }
    function showEmpty() {
        mode = "empty"
    }
    function showError(code) {
        errorCode = code
        mode = "error"
    }
    function describe(code) {
        return ResultWords.describe(code)
    }

    objectName: "storeStatus"
    readonly property string message: mode === "error" ? describe(errorCode)
                                    : (mode === "empty" ? emptyText : loadingText)
    visible: mode !== "ready"
    color: Theme.paper
    z: 40

    Column {
        anchors.centerIn: parent
        width: parent.width - 80
        spacing: 18

        BusyIndicator {
            anchors.horizontalCenter: parent.horizontalCenter
            visible: status.mode === "loading"
            running: visible
            width: 56
            height: 56
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            visible: status.mode === "error"
            text: status.errorCode === -100 ? "⚠" : "☹"
            color: Theme.gray
            font.pixelSize: 64
        }
        Text {
            objectName: "statusMessage"
            Accessible.role: status.mode === "error" ? Accessible.AlertMessage : Accessible.StaticText
            Accessible.name: text
            width: parent.width
            text: status.message
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            color: status.mode === "error" ? Theme.ink : Theme.inkSoft
            font.family: Theme.uiFont
            font.pixelSize: 20
        }
        DialogButton {
            objectName: "retryButton"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: status.mode === "error"
            primary: true
            text: qsTr("重试")
            onClicked: status.retry()
        }
    }
}
