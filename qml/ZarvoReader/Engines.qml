pragma Singleton
import QtQuick

// The purchase and download engines as the screens see them: null while the
// program runs without them, so every screen can test for them in one way.
QtObject {
    readonly property var purchase: typeof purchaseMgrModel !== "undefined" ? purchaseMgrModel : null
    readonly property var downloads: typeof downloadMgr !== "undefined" ? downloadMgr : null
    readonly property var downloadList: typeof downloadItemModel !== "undefined"
                                        ? downloadItemModel : null
    readonly property bool storeOnline: typeof bookNetMgr !== "undefined" && bookNetMgr !== null
    readonly property bool canBuy: purchase !== null && downloads !== null
    // Running downloads, for the badges that lead to the download centre.
    readonly property int runningDownloads: downloadList ? downloadList.downloadingNum : 0
}
