import QtQuick
import QtQuick.Controls.Basic
import "."

// What a store screen shows while its answer is on the way or when it did not
// come: a spinner, or the words for the result code and a retry button.
Rectangle {
    id: status
    // "loading", "error", "empty" or "ready"; the panel hides when ready.
    property string mode: "loading"
    property int errorCode: 0
    property string loadingText: "正在连接书城…"
    property string emptyText: "这里还没有书"
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
    // The result codes of the store client, in words a reader understands.
    function describe(code) {
        if (code === -100)
            return "无法连接书城，请检查网络后重试"
        if (code === -200)
            return "书城暂时找不到这项内容"
        if (code === -300)
            return "出了点问题，请稍后再试"
        return "书城没能提供这项内容（代码 " + code + "）"
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
            text: "重试"
            onClicked: status.retry()
        }
    }
}
