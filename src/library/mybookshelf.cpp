#include "mybookshelf.h"

#include "booksortstate.h"
#include "commondef.h"
#include "mybookshelfabstractmodel.h"
#include "textbookfolder.h"
#include "vebookreader.h"
#include "vorelebookshelfmgr.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QQmlContext>
#include <QQuickView>
#include <QSqlDatabase>
#include <QStorageInfo>

namespace {
// The volume asked about for free space.
constexpr RootedPath SpaceFolder("/opt/");

// The library database's shared connection.
const QString LibraryConnection = QStringLiteral("EBookDB");

// Sort popup entries: 0 by author, 1 by name, 2 default.
constexpr int PopupByAuthor = 0;
constexpr int PopupByName = 1;
constexpr int PopupDefault = 2;
} // namespace

MyBookShelf::MyBookShelf(VorelEBookShelfMgr &aBookShelfMgr, VEBookReader &aBookReaderModel,
                         QObject *parent)
    : QObject(parent), m_shelfModel(new MyBookShelfAbstractModel(this)),
      m_bookshelfMgr(aBookShelfMgr), m_bookReaderModel(aBookReaderModel)
{
    // BookFolder and UserBookFolder are one folder: scan each folder once.
    QStringList scanned;
    for (const QString &folder :
         {PreInstallBookFolder.path(), BookFolder.path(), UserBookFolder.path()}) {
        const QString clean = QDir::cleanPath(folder);
        if (scanned.contains(clean))
            continue;
        scanned.append(clean);
        searchLocalBook(folder);
    }
    connect(&m_bookshelfMgr, &VorelEBookShelfMgr::scanNewBookUpdateBookshelf, this,
            &MyBookShelf::refreshBookshelfModel);
}

MyBookShelf::~MyBookShelf()
{
    if (m_view) {
        m_view->rootContext()->setContextProperty(QStringLiteral("shelfListModel"), nullptr);
        m_view->rootContext()->setContextProperty(QStringLiteral("myBookShelf"), nullptr);
    }
    delete m_shelfModel;
}

void MyBookShelf::setDeclarativeView(QQuickView &view)
{
    m_view = &view;
    view.rootContext()->setContextProperty(QStringLiteral("shelfListModel"), m_shelfModel);
    view.rootContext()->setContextProperty(QStringLiteral("myBookShelf"), this);
}

int MyBookShelf::addPackage(const QString &bookid, const QString &path, bool downloaded)
{
    QString name;
    QString icon;
    QString author;
    uint size = 0;
    const int read = m_bookReaderModel.GetDownLoadBookInfo(bookid, path, name, icon, author, size);
    if (read != 0)
        return read;
    uint never = 0;
    uint added = downloaded ? uint(QDateTime::currentSecsSinceEpoch()) : 0;
    VorelEBookItemData entry(bookid, never, added, name, icon);
    entry.m_bookMarkFlag = downloaded ? 1 : 0;
    entry.m_bookSize = size;
    entry.m_bookAuthor = author;
    entry.m_bookStorePath = path;
    // A book already recorded keeps its record: the insert is refused.
    m_bookshelfMgr.AddEBookInfo(entry);
    return 0;
}

void MyBookShelf::packUserTexts(const QString &path)
{
    // The user's own .txt books become packages beside them before the scan.
    if (QDir::cleanPath(path) != QDir::cleanPath(UserBookFolder.path()))
        return;
    TextBookFolder texts(path, QSqlDatabase::database(LibraryConnection, false));
    for (const QString &id : texts.packTexts()) {
        // A changed text keeps its book's record; only the size moves.
        VorelEBookItemData entry;
        if (!m_bookshelfMgr.isBookIdExisted(id) || !m_bookshelfMgr.GetVorelBookProperty(id, entry))
            continue;
        entry.m_bookSize = uint(QFileInfo(entry.m_bookStorePath).size() / 1024);
        m_bookshelfMgr.UpdateEBookItem(id, entry);
    }
}

void MyBookShelf::searchLocalBook(QString path)
{
    packUserTexts(path);
    QList<QString> files;
    QList<QString> ids;
    if (!m_bookReaderModel.SearchVbpFile(path, files, ids))
        return;
    // One commit for the whole folder instead of a disk sync for every book.
    QSqlDatabase library = QSqlDatabase::database(LibraryConnection, false);
    const bool batched = library.isOpen() && library.transaction();
    const int count = int(qMin(files.size(), ids.size()));
    // A known id is never read again; a damaged package stays off the shelf.
    // The ids are asked for once, not once a package.
    const QSet<QString> known = m_bookshelfMgr.knownBookIds();
    for (int i = 0; i < count; ++i) {
        if (known.contains(ids.at(i)))
            continue;
        addPackage(ids.at(i), files.at(i), false);
    }
    if (batched)
        library.commit();
}

void MyBookShelf::refreshBookshelfModel(QString cid, QString path)
{
    // The id comes from a download link: it must name a file in that folder.
    if (!VEBookReader::IsSafeBookId(cid))
        return;
    const QString fullPath = path + QLatin1Char('/') + cid + QLatin1String(".vbp");
    if (addPackage(cid, fullPath, true) != 0)
        return;
    updateBookList();
}

int MyBookShelf::openBook(QString bookid, QString bookpath)
{
    // A book whose file is away (storage unmounted, file unreadable) keeps
    // its row and is shown as before; only a malformed package leaves the
    // library, and the next refresh drops it from the shelf.
    if (m_bookReaderModel.OpenOneBook(bookid, bookpath) != 0)
        return 2;
    m_bookshelfMgr.setNewiconFlag(bookid, 0);
    return 0;
}

bool MyBookShelf::deleteBook(QString bookid, QString bookpath, QString iconpath)
{
    if (!m_bookReaderModel.DeleteFileFromDisk(bookpath, iconpath))
        return false;
    if (!m_bookshelfMgr.DeleteEBookItem(bookid))
        return false;
    if (m_bookshelfMgr.GetBookList())
        updateBookShelfByType(1);
    return true;
}

void MyBookShelf::handleOrderPopup(int aIndex)
{
    bool sorted = false;
    switch (aIndex) {
    case PopupByAuthor:
        sorted = m_bookshelfMgr.SortEBookItemByAuthor();
        break;
    case PopupByName:
        sorted = m_bookshelfMgr.SortEBookItemByBookName();
        break;
    case PopupDefault:
        sorted = m_bookshelfMgr.SortEBookItemById();
        break;
    default:
        return;
    }
    if (sorted && m_bookshelfMgr.GetBookList())
        updateBookShelfByType(aIndex);
}

int MyBookShelf::getOrderBookIndex()
{
    BookSortState state = EDefault;
    if (!m_bookshelfMgr.GetBookSortState(state))
        return PopupDefault;
    switch (state) {
    case EAuthor:
        return PopupByAuthor;
    case EBookName:
        return PopupByName;
    default:
        return PopupDefault;
    }
}

void MyBookShelf::updateBookList()
{
    if (m_bookshelfMgr.GetBookList())
        updateBookShelfByType(2);
}

bool MyBookShelf::updateBookShelfByType(int type)
{
    Q_UNUSED(type);
    m_shelfModel->updateItemList(m_bookshelfMgr.GetListData());
    return true;
}

bool MyBookShelf::addUserIdForBookShelfMgr(QString aID)
{
    return m_bookshelfMgr.AddUserId(aID);
}

qint64 MyBookShelf::availableDiskSpace()
{
    // The folder may not exist yet: ask about the nearest one that does.
    QString folder = SpaceFolder.path();
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    const QStorageInfo storage(folder);
    if (!storage.isValid() || !storage.isReady())
        return 0;
    return qMax<qint64>(0, storage.bytesAvailable());
}

void MyBookShelf::checkDiskSpace(qint64 aSize)
{
    if (aSize >= availableDiskSpace())
        emit diskSpaceNotEnough();
}

void MyBookShelf::clearBookShelfList()
{
    if (QList<VorelEBookItemData> *list = m_bookshelfMgr.GetListData())
        list->clear();
}
