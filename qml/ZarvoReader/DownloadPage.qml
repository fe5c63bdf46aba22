import QtQuick
import "."
import "ResultWords.js" as ResultWords

// The download centre: every download task with its cover, name, progress in
// bytes and percent, and its state; a running task can be paused, a paused or
// failed one resumed, and any one deleted after a question.
Rectangle {
    id: page
    objectName: "downloadsPage"
    color: Theme.paper
    signal back()

    readonly property int rowCount: list.count

    // Task states as the download engine reports them.
    readonly property var stateWords: [qsTr("准备中"), qsTr("下载中"), qsTr("已暂停"), qsTr("已删除"),
                                       qsTr("已完成"), qsTr("等待中"), qsTr("下载失败")]
    function stateText(state) {
        return state >= 0 && state < stateWords.length ? stateWords[state] : ""
    }
    // The total is 1 while the store has not said how big the package is.
    function sizeKnown(total) {
        return total > 1
    }
    function percent(done, total) {
        return sizeKnown(total) ? Math.min(100, Math.floor(done * 100 / total)) : 0
    }
    function progressText(done, total) {
        var have = ResultWords.sizeText(done) || "0 B"
        if (!sizeKnown(total))
            return have
        return have + " / " + ResultWords.sizeText(total) + "  " + percent(done, total) + "%"
    }
    function canPause(state) {
        return state === 1 || state === 5
    }
    function pause(cid, link) {
        Engines.downloads.PauseTask(cid, link)
    }
    function resume(cid, link) {
        Engines.downloads.ReStartTask(cid, link)
    }
    function askRemove(cid, link, name) {
        confirm.ask(qsTr("删除《%1》的下载任务和已下载的部分？").arg(name), qsTr("删除"), function () {
            Engines.downloads.RemoveTask(cid, link)
        })
    }

    TitleBar {
        id: titleBar
        title: qsTr("下载管理")
        showBack: true
        onBackClicked: page.back()
    }

    Rectangle {
        id: summary
        anchors.top: titleBar.bottom
        width: parent.width
        height: 44
        color: Theme.shelf
        visible: list.count > 0
        Text {
            objectName: "downloadSummary"
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.left: parent.left
            anchors.leftMargin: 18
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("正在下载 %n 本", "", Engines.runningDownloads) + " · " + qsTr("共 %n 本", "", list.count)
            color: Theme.inkSoft
            font.family: Theme.uiFont
            font.pixelSize: 16
        }
    }

    ListView {
        id: list
        objectName: "downloadList"
        anchors.top: summary.visible ? summary.bottom : titleBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: Engines.downloadList

        delegate: Item {
            id: row
            readonly property int taskState: downloadState
            readonly property int done: downloadedsize
            readonly property int total: booktotalsize
            width: list.width
            height: 132
            Accessible.role: Accessible.ListItem
            Accessible.name: bookname
            Accessible.description: [page.stateText(row.taskState),
                                     page.progressText(row.done, row.total)].join(" · ")

            StoreCover {
                id: cover
                x: 18
                anchors.verticalCenter: parent.verticalCenter
                width: 70
                height: 100
                source: imagepath
                title: bookname
                titleSize: 12
            }
            Column {
                anchors.left: cover.right
                anchors.leftMargin: 14
                anchors.right: actions.left
                anchors.rightMargin: 10
                anchors.verticalCenter: parent.verticalCenter
                spacing: 8
                Text {
                    objectName: "downloadName"
                    width: parent.width
                    text: bookname
                    elide: Text.ElideRight
                    color: Theme.ink
                    font.family: Theme.uiFont
                    font.pixelSize: 19
                    font.bold: true
                }
                Rectangle {
                    objectName: "downloadProgress"
                    readonly property int value: page.percent(row.done, row.total)
                    width: parent.width
                    height: 8
                    radius: 4
                    color: Theme.divider
                    Rectangle {
                        width: parent.width * parent.value / 100
                        height: parent.height
                        radius: parent.radius
                        color: row.taskState === 6 ? Theme.badge
                                               : (row.taskState === 1 ? Theme.accent : Theme.gray)
                    }
                }
                Text {
                    objectName: "downloadBytes"
                    width: parent.width
                    text: page.progressText(row.done, row.total)
                    elide: Text.ElideRight
                    color: Theme.inkSoft
                    font.family: Theme.uiFont
                    font.pixelSize: 15
                }
                Text {
                    objectName: "downloadState"
                    text: page.stateText(row.taskState)
                    color: row.taskState === 6 ? Theme.badge : Theme.accent
                    font.family: Theme.uiFont
                    font.pixelSize: 15
                }
            }
            Column {
                id: actions
                anchors.right: parent.right
                anchors.rightMargin: 14
                anchors.verticalCenter: parent.verticalCenter
                spacing: 10
                DialogButton {
                    objectName: page.canPause(row.taskState) ? "pauseButton" : "resumeButton"
                    width: 88
                    height: 44
                    primary: !page.canPause(row.taskState)
                    text: page.canPause(row.taskState) ? qsTr("暂停") : (row.taskState === 6 ? qsTr("重试") : qsTr("继续"))
                    onClicked: page.canPause(row.taskState) ? page.pause(cid, link)
                                                        : page.resume(cid, link)
                }
                DialogButton {
                    objectName: "removeButton"
                    width: 88
                    height: 44
                    text: qsTr("删除")
                    onClicked: page.askRemove(cid, link, bookname)
                }
            }
            Rectangle {
                anchors.bottom: parent.bottom
                x: 18
                width: parent.width - 36
                height: 1
                color: Theme.divider
                opacity: 0.6
            }
        }
    }

    Column {
        anchors.centerIn: parent
        width: parent.width - 80
        spacing: 12
        visible: list.count === 0
        Text {
            objectName: "downloadsEmpty"
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: Engines.downloads !== null ? qsTr("没有下载任务") : qsTr("下载功能暂不可用")
            color: Theme.inkSoft
            font.family: Theme.uiFont
            font.pixelSize: 22
        }
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            visible: Engines.downloads !== null
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: qsTr("在书城的图书详情页点“下载”，书就会出现在这里")
            color: Theme.gray
            font.family: Theme.uiFont
            font.pixelSize: 16
        }
    }

    ConfirmDialog { id: confirm }
}
