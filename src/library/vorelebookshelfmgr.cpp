#include "vorelebookshelfmgr.h"

#include "vorelebookdatabaseengine.h"

#include <QQmlContext>
#include <QQuickView>

namespace {
const char *const ContextName = "bookshelfMgrModel";
}

VorelEBookShelfMgr::VorelEBookShelfMgr(QObject *parent)
    : QObject(parent), m_database(std::make_unique<VorelEBookDatabaseEngine>())
{
    // Makes sure the order row exists from the first run on; later runs keep it.
    m_database->AddBookSortState(0, EDefault);
}

VorelEBookShelfMgr::~VorelEBookShelfMgr()
{
    if (m_view)
        m_view->rootContext()->setContextProperty(QLatin1String(ContextName),
                                                  static_cast<QObject *>(nullptr));
    m_allList.reset();
    m_database.reset();
}

void VorelEBookShelfMgr::setDeclarativeView(QQuickView &view)
{
    m_view = &view;
    view.rootContext()->setContextProperty(QLatin1String(ContextName), this);
}

void VorelEBookShelfMgr::setDownloadManager(QObject *downloadmanager)
{
    if (m_downloadmanager)
        disconnect(m_downloadmanager, nullptr, this, nullptr);
    m_downloadmanager = downloadmanager;
    if (!downloadmanager)
        return;
    connect(downloadmanager, SIGNAL(downloadFinishedResponse(QString, QString)), this,
            SLOT(scanNewbookFinish(QString, QString)));
}

bool VorelEBookShelfMgr::reload(Reader read)
{
    if (!m_database)
        return false;
    // The old list goes first: a failed read leaves an empty list, never a stale one.
    m_allList.reset();
    m_allList = std::make_unique<QList<VorelEBookItemData>>();
    return (m_database.get()->*read)(*m_allList);
}

bool VorelEBookShelfMgr::sortAndPersist(Reader read, BookSortState state)
{
    if (!reload(read))
        return false;
    return m_database->UpdateBookSortState(0, state);
}

bool VorelEBookShelfMgr::GetBookList()
{
    return reload(&VorelEBookDatabaseEngine::GetBookInformation);
}

QList<VorelEBookItemData> *VorelEBookShelfMgr::GetListData()
{
    return m_allList.get();
}

bool VorelEBookShelfMgr::SortEBookItemByBookName()
{
    return sortAndPersist(&VorelEBookDatabaseEngine::SelectEBookInfoByBookname, EBookName);
}

bool VorelEBookShelfMgr::SortEBookItemByAuthor()
{
    return sortAndPersist(&VorelEBookDatabaseEngine::SelectEBookInfoByAuthor, EAuthor);
}

bool VorelEBookShelfMgr::SortEBookItemById()
{
    return sortAndPersist(&VorelEBookDatabaseEngine::SelectEBookInfoById, EDefault);
}

bool VorelEBookShelfMgr::SortEBookItemByReadingDate()
{
    return reload(&VorelEBookDatabaseEngine::SelectEBookInfoByReadingDate);
}

bool VorelEBookShelfMgr::SortEBookItemByDownloadingDate()
{
    return reload(&VorelEBookDatabaseEngine::SelectEBookInfoByDownloadingDate);
}

bool VorelEBookShelfMgr::GetBookSortState(BookSortState &bookState)
{
    if (!m_database)
        return false;
    int stored = -1;
    const bool ok = m_database->GetBookSortState(stored);
    bookSortStateFromInt(stored, bookState);
    return ok;
}

bool VorelEBookShelfMgr::AddEBookInfo(const VorelEBookItemData &bookInfo)
{
    if (!m_database)
        return false;
    // The caller reloads afterwards; until then the list is empty.
    m_allList = std::make_unique<QList<VorelEBookItemData>>();
    return m_database->AddEBookInfo(bookInfo);
}

bool VorelEBookShelfMgr::UpdateEBookItem(QString bookId, const VorelEBookItemData &bookInfo)
{
    return m_database && m_database->UpdateEBookInfo(bookId, bookInfo);
}

bool VorelEBookShelfMgr::DeleteEBookItem(QString bookId)
{
    if (!m_database)
        return false;
    // Every trace goes, and success means every one of them went.
    const bool book = m_database->DeleteEBookInfo(bookId);
    const bool position = m_database->DeleteBookmark(bookId);
    const bool marks = m_database->DeleteBookmarkRelation(bookId);
    GetBookList();
    return book && position && marks;
}

bool VorelEBookShelfMgr::DeleteAllEBookItem()
{
    if (!m_database)
        return false;
    const bool ok = m_database->DeleteAllEBookInfo();
    GetBookList();
    return ok;
}

bool VorelEBookShelfMgr::GetVorelBookProperty(QString bookId, VorelEBookItemData &bookInfo)
{
    return m_database && m_database->GetBookProperty(bookId, bookInfo);
}

bool VorelEBookShelfMgr::isBookIdExisted(QString bookId)
{
    return m_database && m_database->isBookIdExisted(bookId);
}

QSet<QString> VorelEBookShelfMgr::knownBookIds()
{
    QSet<QString> ids;
    if (m_database)
        m_database->GetBookIds(ids);
    return ids;
}

bool VorelEBookShelfMgr::setNewiconFlag(QString bookId, int flag)
{
    return m_database && m_database->setNewiconFlagToDB(bookId, flag);
}

bool VorelEBookShelfMgr::AddEBookChapterItem(QString bookId, const VorelEBookChapterItemData &item)
{
    return m_database && m_database->AddEBookChapterInfo(bookId, item);
}

bool VorelEBookShelfMgr::GetChapterMark(QString bookId, VorelEBookChapterItemData &item)
{
    return m_database && m_database->GetBookChapterMark(bookId, item);
}

bool VorelEBookShelfMgr::UpdateAutomaicChapterMark(QString bookId,
                                                   const VorelEBookChapterItemData &item)
{
    return m_database && m_database->UpdateBookChapterMark(bookId, item);
}

bool VorelEBookShelfMgr::AddUserId(QString userId)
{
    return m_database && m_database->AddUserIdToDB(userId);
}

void VorelEBookShelfMgr::scanNewbookFinish(QString cID, QString filePath)
{
    // The download is named after the book id plus the package extension;
    // ids may hold dots themselves ("v1.2.vbp" is the book "v1.2").
    const QLatin1String extension(".vbp");
    const QString bookId = cID.endsWith(extension) ? cID.chopped(extension.size()) : cID;
    emit scanNewBookUpdateBookshelf(bookId, filePath);
}
