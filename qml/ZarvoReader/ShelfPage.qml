import QtQuick
import QtQml.Models
import "."

// The bookshelf: every book on the device with its cover, title, author and
// size; the sort menu; delete with a confirmation.
Rectangle {
    id: page
    objectName: "shelfPage"
    color: Theme.shelf

    signal bookOpened(string bookId)
    signal settingsRequested()
    signal storeRequested()
    signal downloadsRequested()

    property alias sortMenuVisible: sortMenu.visible
    readonly property int bookCount: grid.count

    function refresh() {
        myBookShelf.updateBookList()
    }
    // Opens a book through the shelf; the reading screen is shown only when
    // the engine could open it. A book whose file is away stays on the shelf;
    // only a damaged one is gone after the refresh.
    function openBook(bookId, bookPath) {
        if (myBookShelf.openBook(bookId, bookPath) !== 0) {
            toast.show(qsTr("这本书现在无法打开"))
            refresh()
            return false
        }
        bookOpened(bookId)
        return true
    }
    function askDelete(bookId, bookPath, iconPath, title) {
        confirm.ask(qsTr("从书架和设备上删除《%1》？").arg(title), qsTr("删除"), function () {
            if (!myBookShelf.deleteBook(bookId, bookPath, iconPath))
                toast.show(qsTr("无法删除这本书"))
        })
    }
    // The book whose title is the given one, else the first book; each as an
    // object with bookId and bookPath.
    function findBook(title) {
        books.active = true
        for (var i = 0; i < books.count; ++i) {
            var b = books.objectAt(i)
            if (b && b.title === title)
                return b
        }
        return books.count > 0 ? books.objectAt(0) : null
    }
    // Scrolls the shelf until the book with this id is in sight.
    function revealBook(bookId) {
        books.active = true
        for (var i = 0; i < books.count; ++i) {
            var b = books.objectAt(i)
            if (b && b.bookId === bookId) {
                grid.positionViewAtIndex(i, GridView.Contain)
                return true
            }
        }
        return false
    }
    function chooseOrder(index) {
        sortMenu.visible = false
        myBookShelf.handleOrderPopup(index)
        sortMenu.current = myBookShelf.getOrderBookIndex()
    }

    Component.onCompleted: {
        refresh()
        sortMenu.current = myBookShelf.getOrderBookIndex()
    }

    TitleBar {
        id: titleBar
        title: qsTr("书架")
        BarButton {
            objectName: "storeButton"
            text: qsTr("书城")
            visible: typeof bookNetMgr !== "undefined" && bookNetMgr !== null
            onClicked: page.storeRequested()
        }
        DownloadBadgeButton {
            onClicked: page.downloadsRequested()
        }
        BarButton {
            objectName: "sortButton"
            text: qsTr("排序")
            highlighted: sortMenu.visible
            onClicked: sortMenu.visible = !sortMenu.visible
        }
        BarButton {
            objectName: "settingsButton"
            text: qsTr("设置")
            onClicked: page.settingsRequested()
        }
    }

    GridView {
        id: grid
        objectName: "shelfGrid"
        anchors.top: titleBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: 6
        anchors.topMargin: 8
        cellWidth: 156
        cellHeight: 262
        // Only the rows in sight are built for the first frame; the rows
        // around them (the view's usual 320 px) once it has been shown. The
        // shelf is made before it is put in the window: no rows around until
        // then either.
        cacheBuffer: !Window.window || Window.window.firstFrameShown === false ? 0 : 320
        clip: true
        model: shelfListModel
        delegate: BookCell {
            onOpen: page.openBook(bookId, bookPath)
            onRemove: page.askDelete(bookId, bookPath, iconPath, bookName)
        }
    }

    Column {
        anchors.centerIn: parent
        spacing: 12
        visible: grid.count === 0
        Text {
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("书架上还没有书")
            color: Theme.inkSoft
            font.family: Theme.uiFont
            font.pixelSize: 24
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(implicitWidth, page.width - 60)
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            text: qsTr("把 .vbp 书放进书籍文件夹，或从书城下载")
            color: Theme.gray
            font.family: Theme.uiFont
            font.pixelSize: 16
        }
    }

    // The order menu drops from the title bar.
    Rectangle {
        id: sortMenu
        objectName: "sortMenu"
        Accessible.role: Accessible.PopupMenu
        Accessible.name: qsTr("排序")
        property int current: 2
        visible: false
        z: 50
        anchors.top: titleBar.bottom
        anchors.right: parent.right
        anchors.rightMargin: 8
        width: 200
        height: sortColumn.implicitHeight + 12
        radius: 10
        color: Theme.paper
        border.color: Theme.divider
        Column {
            id: sortColumn
            anchors.centerIn: parent
            width: parent.width - 12
            Repeater {
                model: [ qsTr("按作者"), qsTr("按书名"), qsTr("默认顺序") ]
                delegate: Rectangle {
                    width: sortColumn.width
                    height: 56
                    radius: 8
                    color: sortArea.pressed ? Theme.accentSoft : "transparent"
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: modelData
                    Accessible.checkable: true
                    Accessible.checked: index === sortMenu.current
                    Accessible.onPressAction: page.chooseOrder(index)
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        anchors.left: parent.left
                        anchors.leftMargin: 16
                        text: modelData
                        color: index === sortMenu.current ? Theme.accent : Theme.ink
                        font.bold: index === sortMenu.current
                        font.family: Theme.uiFont
                        font.pixelSize: 20
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        anchors.right: parent.right
                        anchors.rightMargin: 16
                        visible: index === sortMenu.current
                        text: "✓"
                        color: Theme.accent
                        font.pixelSize: 20
                    }
                    MouseArea {
                        id: sortArea
                        anchors.fill: parent
                        onClicked: page.chooseOrder(index)
                    }
                }
            }
        }
    }

    // Built only when a book is looked up by title (the screenshot tool).
    Instantiator {
        id: books
        active: false
        model: shelfListModel
        delegate: QtObject {
            readonly property string bookId: model.bookId
            readonly property string bookPath: model.bookPath
            readonly property string title: model.bookName
        }
    }

    ConfirmDialog { id: confirm }
    Toast { id: toast }
}
