import QtQuick
import QtQuick.Controls.Basic
import "."

// The search page of the store: the input and the keywords the store
// suggests. A search opens the result page.
Rectangle {
    id: page
    objectName: "searchPage"
    color: Theme.paper

    signal back()
    signal searchStarted(string keyword)

    property bool waiting: false
    readonly property int keywordCount: keywords.count
    readonly property alias inputText: input.text
    readonly property bool loaded: keywordStatus.mode === "ready"
    // Set by callers that want to act once the keywords are there.
    property var whenLoaded: null

    function loadKeywords() {
        keywordStatus.showLoading()
        waiting = true
        searchMgrModel.getRecmmendKeywordList()
    }
    function search(text) {
        var keyword = text.trim()
        if (keyword === "") {
            toast.show(qsTr("请输入书名或作者"))
            return false
        }
        input.text = keyword
        resultSearchModel.handleSearchButtonClicked(keyword)
        searchMgrModel.getSearchResultList()
        searchStarted(keyword)
        return true
    }
    function searchKeyword(index) {
        if (index < 0 || index >= keywords.count)
            return false
        keySearchModel.handleKeyWordClick(index)
        return search(resultSearchModel.getInputText())
    }
    function searchFirstKeyword() {
        return searchKeyword(0)
    }

    Connections {
        target: searchMgrModel
        function onSearchKeyWordResponse(errorCode) {
            if (!page.waiting)
                return
            page.waiting = false
            if (errorCode !== 200) {
                keywordStatus.showError(errorCode)
                return
            }
            if (keywords.count === 0) {
                keywordStatus.showEmpty()
                return
            }
            keywordStatus.showReady()
            if (page.whenLoaded) {
                var action = page.whenLoaded
                page.whenLoaded = null
                action()
            }
        }
    }

    TitleBar {
        id: titleBar
        title: qsTr("搜索书城")
        showBack: true
        onBackClicked: page.back()
    }

    Rectangle {
        id: inputBand
        anchors.top: titleBar.bottom
        width: parent.width
        height: 84
        color: Theme.shelf
        Row {
            anchors.centerIn: parent
            spacing: 12
            TextField {
                id: input
                objectName: "searchInput"
                Accessible.name: placeholderText
                width: page.width - 36 - 12 - searchButton.width
                height: 52
                placeholderText: qsTr("书名或作者")
                font.family: Theme.uiFont
                font.pixelSize: 20
                color: Theme.ink
                leftPadding: 16
                background: Rectangle {
                    radius: 26
                    color: Theme.textOnAccent
                    border.color: input.activeFocus ? Theme.accent : Theme.divider
                    border.width: input.activeFocus ? 2 : 1
                }
                onTextEdited: keySearchModel.handleSelectInputText(text)
                onAccepted: page.search(text)
            }
            DialogButton {
                id: searchButton
                objectName: "searchButton"
                width: 96
                primary: true
                text: qsTr("搜索")
                onClicked: page.search(input.text)
            }
        }
    }

    Text {
        id: keywordHeading
        Accessible.role: Accessible.Heading
        Accessible.name: text
        anchors.top: inputBand.bottom
        anchors.topMargin: 22
        x: 20
        text: qsTr("大家都在搜")
        color: Theme.ink
        font.family: Theme.uiFont
        font.pixelSize: 20
        font.bold: true
    }

    Flow {
        id: keywordFlow
        objectName: "keywordFlow"
        anchors.top: keywordHeading.bottom
        anchors.topMargin: 16
        x: 20
        width: parent.width - 40
        spacing: 12
        Repeater {
            id: keywords
            objectName: "keywordRepeater"
            model: keySearchModel
            delegate: Rectangle {
                width: chipText.implicitWidth + 32
                Accessible.role: Accessible.Button
                Accessible.name: chipText.text
                Accessible.onPressAction: page.searchKeyword(index)
                height: 44
                radius: 22
                color: chipArea.pressed ? Theme.accent : Theme.accentSoft
                Text {
                    id: chipText
                    anchors.centerIn: parent
                    text: keyword
                    color: chipArea.pressed ? Theme.textOnAccent : Theme.ink
                    font.family: Theme.uiFont
                    font.pixelSize: 18
                }
                MouseArea {
                    id: chipArea
                    anchors.fill: parent
                    onClicked: page.searchKeyword(index)
                }
            }
        }
    }

    StoreStatus {
        id: keywordStatus
        objectName: "keywordStatus"
        anchors.top: keywordHeading.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        height: 260
        loadingText: qsTr("正在获取热门搜索…")
        emptyText: qsTr("书城暂时没有推荐的关键词")
        onRetry: page.loadKeywords()
    }

    Toast { id: toast }
}
