import QtQuick
import QtQuick.Controls.Basic
import "."
import "ResultWords.js" as ResultWords

// The store page of one book: cover, title, author, publisher, status, size,
// the buy button and the description.
Rectangle {
    id: page
    objectName: "detailsPage"
    color: Theme.paper

    property string bookId: ""
    property bool waiting: false
    // Set by callers that want to act once the page has arrived.
    property var whenLoaded: null
    signal back()

    readonly property bool loaded: status.mode === "ready"

    function load(id) {
        bookId = id
        status.showLoading()
        waiting = true
        bookNetMgr.GetBookInfo(id)
    }
    // The purchase flow answers the buy button; it is busy while an order
    // is with the store.
    property bool ordering: false
    signal buyRequested(string bookId, string size, string title)
    // The store names a price only when it has one; what a book costs is
    // otherwise known once it is ordered.
    readonly property string price: bookInfoModel.price === "free" ? "" : bookInfoModel.price

    function buy() {
        buyRequested(bookId, bookInfoModel.bookSize, bookInfoModel.bookName)
    }
    // The store gives the number of chapters as text; anything but a count
    // is shown as it came.
    function chaptersText(count) {
        return /^[0-9]+$/.test(count) ? qsTr("共 %n 章", "", Number(count)) : count
    }

    Connections {
        target: bookNetMgr
        function onBookInfoRequestResponse(errorCode) {
            if (!page.waiting)
                return
            page.waiting = false
            if (errorCode !== 200) {
                status.showError(errorCode)
                return
            }
            status.showReady()
            if (page.whenLoaded) {
                var action = page.whenLoaded
                page.whenLoaded = null
                action()
            }
        }
    }

    TitleBar {
        id: titleBar
        title: qsTr("图书详情")
        showBack: true
        onBackClicked: page.back()
    }

    Flickable {
        id: flick
        anchors.top: titleBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        contentHeight: content.height + 40
        clip: true
        boundsBehavior: Flickable.StopAtBounds

        Column {
            id: content
            width: flick.width
            spacing: 0

            // Cover beside the key facts, on a tinted band.
            Rectangle {
                width: parent.width
                height: 250
                color: Theme.shelf
                StoreCover {
                    id: cover
                    objectName: "detailsCover"
                    x: 24
                    anchors.verticalCenter: parent.verticalCenter
                    width: 140
                    height: 200
                    source: page.loaded ? bookInfoModel.bookImage : ""
                    title: bookInfoModel.bookName
                    titleSize: 20
                }
                Column {
                    anchors.left: cover.right
                    anchors.leftMargin: 20
                    anchors.right: parent.right
                    anchors.rightMargin: 20
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 10
                    Text {
                        objectName: "detailsTitle"
                        Accessible.role: Accessible.Heading
                        Accessible.name: text
                        width: parent.width
                        text: bookInfoModel.bookName
                        wrapMode: Text.Wrap
                        maximumLineCount: 3
                        elide: Text.ElideRight
                        color: Theme.ink
                        font.family: Theme.bodyFont
                        font.pixelSize: 26
                        font.bold: true
                    }
                    Repeater {
                        model: [
                            { label: qsTr("作者"), value: bookInfoModel.auther, name: "detailsAuthor" },
                            { label: qsTr("出版"), value: bookInfoModel.publisher, name: "detailsPublisher" },
                            { label: qsTr("章节"), value: page.chaptersText(bookInfoModel.status), name: "detailsStatus" },
                            { label: qsTr("价格"), value: bookInfoModel.price, name: "detailsPrice" },
                            { label: qsTr("大小"), value: ResultWords.sizeText(bookInfoModel.bookSize), name: "detailsSize" }
                        ]
                        delegate: Row {
                            visible: modelData.value !== ""
                            Accessible.role: Accessible.StaticText
                            Accessible.name: qsTr("%1：%2").arg(modelData.label).arg(modelData.value)
                            spacing: 10
                            Text {
                                text: modelData.label
                                color: Theme.gray
                                font.family: Theme.uiFont
                                font.pixelSize: 16
                            }
                            Text {
                                objectName: modelData.name
                                width: content.width - 24 - 140 - 40 - 50
                                text: modelData.value
                                elide: Text.ElideRight
                                color: modelData.name === "detailsAuthor" ? Theme.accent : Theme.ink
                                font.family: Theme.uiFont
                                font.pixelSize: 16
                            }
                        }
                    }
                }
            }

            Item {
                width: parent.width
                height: Engines.canBuy ? 88 : 0
                visible: Engines.canBuy
                DialogButton {
                    objectName: "buyButton"
                    anchors.centerIn: parent
                    width: parent.width - 48
                    height: 56
                    primary: !page.ordering
                    text: page.ordering ? qsTr("正在下单…")
                                        : (page.price === "" ? qsTr("下载") : qsTr("购买下载（%1）").arg(page.price))
                    onClicked: page.buy()
                }
            }

            Item {
                width: parent.width
                height: 56
                Text {
                    x: 24
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: 8
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                    text: qsTr("内容简介")
                    color: Theme.ink
                    font.family: Theme.uiFont
                    font.pixelSize: 20
                    font.bold: true
                }
            }
            Text {
                objectName: "detailsDescription"
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                x: 24
                width: parent.width - 48
                text: bookInfoModel.bookInfo !== "" ? bookInfoModel.bookInfo : qsTr("暂无简介")
                wrapMode: Text.Wrap
                color: Theme.inkSoft
                font.family: Theme.bodyFont
                font.pixelSize: 18
                lineHeight: 1.35
            }
        }
    }

    StoreStatus {
        id: status
        anchors.top: titleBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        onRetry: page.load(page.bookId)
    }
}
