.pragma library

// The result codes of the store client, in words a reader understands.
function describe(code) {
    if (code === -100)
        return qsTr("无法连接书城，请检查网络后重试")
    if (code === -200)
        return qsTr("书城暂时找不到这项内容")
    if (code === -300)
        return qsTr("出了点问题，请稍后再试")
    return qsTr("书城没能提供这项内容（代码 %1）").arg(code)
}

// Why an order ended without a download. The store answers 200 as the code
// of a payment SMS that was cancelled or could not be sent.
function purchaseFailure(code) {
    if (code === 200)
        return qsTr("付款短信没有发出，这次购买没有完成")
    if (code === -200)
        return qsTr("书城没有给出这本书的下载信息，请稍后再试")
    if (code === -100 || code === -300)
        return describe(code)
    return qsTr("书城没有受理这次购买（代码 %1）").arg(code)
}

// Bytes as a reader reads them.
function sizeText(bytes) {
    var n = Number(bytes)
    if (!(n > 0))
        return ""
    if (n < 1024)
        return n + " B"
    if (n < 1024 * 1024)
        return (n / 1024).toFixed(1) + " KB"
    return (n / 1024 / 1024).toFixed(1) + " MB"
}
