import QtQuick
import QtQuick.Controls.Basic
import "."
import "ResultWords.js" as ResultWords

// Buying a book, over every screen: the checks before an order, the store's
// offers (a charge paid by SMS, a payment to confirm), the wait while the
// payment SMS goes out, and what became of the order.
Item {
    id: flow
    objectName: "purchaseFlow"
    anchors.fill: parent
    z: 80

    signal downloadsRequested()

    // An order was sent and the store's answer has not come.
    property bool ordering: false
    // chargedefDownload() is running its own event loop.
    property bool paying: false
    readonly property bool sending: paying || (Engines.purchase !== null && Engines.purchase.sending === true)
    readonly property bool offerShown: offer.visible
    readonly property bool noticeShown: notice.visible
    // Set by callers that want to act once the order has been answered.
    property var whenSettled: null

    function settle() {
        if (!whenSettled)
            return
        var action = whenSettled
        whenSettled = null
        action()
    }
    function dismiss() {
        whenSettled = null
        offer.visible = false
        notice.visible = false
        toast.hide()
    }
    function busyWords() {
        return sending ? qsTr("正在发送付款短信，请稍候") : qsTr("正在向书城下单，请稍候")
    }

    // The engine says first whether the book may be downloaded at all.
    function start(bookId, size, title) {
        if (!Engines.canBuy) {
            notice.tell(qsTr("下载功能暂不可用"))
            settle()
            return
        }
        if (sending || ordering) {
            toast.show(busyWords())
            return
        }
        var status = Engines.purchase.getDownloadedStatus(bookId, String(size || "0"))
        if (status === 2) {
            toast.show(qsTr("《%1》已在下载列表中").arg(title))
            downloadsRequested()
        } else if (status === 4) {
            notice.tell(qsTr("存储空间不足，无法下载《%1》。删除一些书后再试。").arg(title))
        } else if (status === 1 && ebooksetting.getIsNotifyUserOverwriteDL()) {
            offer.ask(qsTr("《%1》已在设备上，重新下载会覆盖它。要继续吗？").arg(title), qsTr("覆盖"),
                      function () { flow.order(bookId) })
        } else {
            order(bookId)
            return
        }
        settle()
    }
    function order(bookId) {
        ordering = true
        answerTimer.restart()
        Engines.purchase.purchaseDownloadBook(bookId)
    }
    // The store's own captions, when it gave any.
    function caption(text, fallback) {
        return text ? text : fallback
    }
    function offerPayment(text, fallbackText, fallbackOk, action) {
        var purchase = Engines.purchase
        offer.ask(text !== "" ? text : fallbackText, caption(purchase.okText, fallbackOk), action,
                  caption(purchase.cancelText, qsTr("取消")))
        offer.title = caption(purchase.offerTitle, "")
    }
    function answer(errorCode, status, text) {
        ordering = false
        answerTimer.stop()
        if (status === 0 || status === 3) {
            toast.show(text !== "" ? text : qsTr("已加入下载列表"))
        } else if (status === 1) {
            // The dialog must be gone before the SMS wait starts.
            offerPayment(text, qsTr("购买这本书需要发送一条付费短信。要购买吗？"), qsTr("购买"),
                         function () { Qt.callLater(flow.payBySms) })
        } else if (status === 2) {
            offerPayment(text, qsTr("购买这本书需要付费。要购买吗？"), qsTr("确认购买"),
                         function () { flow.confirmPayment() })
        } else if (status === 5) {
            notice.tell(ResultWords.purchaseFailure(errorCode))
        }
        settle()
    }
    function payBySms() {
        if (sending) {
            toast.show(busyWords())
            return
        }
        paying = true
        var sent = Engines.purchase.chargedefDownload()
        paying = false
        // Sent: the order goes on and its answer is awaited. Not sent: the
        // engine has already reported the failure.
        if (sent === 1) {
            ordering = true
            answerTimer.restart()
        }
    }
    function confirmPayment() {
        ordering = true
        answerTimer.restart()
        Engines.purchase.payDownloadFee()
    }

    Connections {
        target: Engines.purchase
        function onDownloadResponse(errorCode, status, text) {
            flow.answer(errorCode, status, text)
        }
    }

    // Requests give up after 30 seconds; past that the answer is not coming
    // (no network for a payment, or an answer the engine ignores).
    Timer {
        id: answerTimer
        interval: 40000
        onTriggered: {
            flow.ordering = false
            toast.show(qsTr("书城没有回应，请稍后再试"))
            flow.settle()
        }
    }

    Rectangle {
        id: sendingPanel
        objectName: "sendingPanel"
        anchors.fill: parent
        visible: flow.sending
        color: Theme.scrim
        MouseArea {
            anchors.fill: parent
            onClicked: toast.show(flow.busyWords())
            // Covers the screen while the SMS goes out; a tap only says so.
            Accessible.role: Accessible.Button
            Accessible.name: flow.busyWords()
            Accessible.onPressAction: toast.show(flow.busyWords())
        }
        Rectangle {
            anchors.centerIn: parent
            width: parent.width - 120
            height: 190
            radius: 14
            color: Theme.paper
            Column {
                anchors.centerIn: parent
                spacing: 18
                BusyIndicator {
                    anchors.horizontalCenter: parent.horizontalCenter
                    running: sendingPanel.visible
                    width: 56
                    height: 56
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: qsTr("正在发送付款短信…")
                    color: Theme.ink
                    font.family: Theme.uiFont
                    font.pixelSize: 21
                }
            }
        }
    }

    ConfirmDialog {
        id: offer
        objectName: "purchaseDialog"
    }
    ConfirmDialog {
        id: notice
        objectName: "purchaseNotice"
    }
    Toast {
        id: toast
        objectName: "purchaseToast"
    }
}
