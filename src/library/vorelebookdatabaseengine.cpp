#include "vorelebookdatabaseengine.h"

#include "commondef.h"

#include <QDir>
#include <QSqlQuery>

namespace {

const char *const ConnectionName = "EBookDB";

// Engines alive in this process. They share the named connection, so only the
// last one to go closes it, and only the first one points it at the file.
int liveEngines = 0;

QString databasePath()
{
    return DbFolder + "/BookDB.db";
}

// A null QString would be bound as SQL NULL; the columns hold text, so an
// empty value is stored as the empty text.
QVariant text(const QString &value)
{
    if (value.isNull())
        return QStringLiteral("");
    return value;
}

QVariant decimalText(qint64 value)
{
    return QString::number(value);
}

QVariant integer(qint64 value)
{
    return value;
}

// Store user ids are numbers and kept as integers; anything else is kept as
// text, verbatim, so a hostile id can neither break nor alter the statement.
QVariant userId(const QString &value)
{
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (ok && QString::number(number) == value)
        return number;
    return text(value);
}

VorelEBookItemData bookFromRow(const QSqlQuery &query)
{
    VorelEBookItemData item;
    item.m_bookId = query.value(0).toString();
    item.m_bookName = query.value(1).toString();
    item.m_bookAuthor = query.value(2).toString();
    item.m_bookSize = query.value(3).toUInt();
    item.m_bookIconPath = query.value(4).toString();
    item.m_bookStorePath = query.value(5).toString();
    item.m_downLoadingDate = query.value(6).toUInt();
    item.m_lastReadingDate = query.value(7).toUInt();
    item.m_bookMarkFlag = query.value(8).toInt();
    return item;
}

VorelEBookMarkRelationItem markFromRow(const QSqlQuery &query)
{
    VorelEBookMarkRelationItem item;
    item.m_bookId = query.value(0).toString();
    item.m_bookName = query.value(1).toString();
    item.m_bookChapterId = query.value(2).toString();
    item.m_bookChapterName = query.value(3).toString();
    item.m_bookReadingPageNum = query.value(4).toInt();
    item.m_chapterpageNum = query.value(5).toInt();
    item.m_bookMarkDate = QDateTime::fromString(query.value(6).toString(),
                                                VorelEBookDatabaseEngine::bookMarkDateFormat());
    item.m_bookMarkDes = query.value(7).toString();
    return item;
}

QVariantList bookValues(const VorelEBookItemData &book)
{
    return {text(book.m_bookName),           text(book.m_bookAuthor),
            decimalText(book.m_bookSize),    text(book.m_bookIconPath),
            text(book.m_bookStorePath),      integer(book.m_downLoadingDate),
            integer(book.m_lastReadingDate), decimalText(book.m_bookMarkFlag)};
}

} // namespace

VorelEBookDatabaseEngine::VorelEBookDatabaseEngine(QObject *parent) : QObject(parent)
{
    openOrCreate();
    ++liveEngines;
}

VorelEBookDatabaseEngine::~VorelEBookDatabaseEngine()
{
    // A statement outliving its connection would hold it open.
    m_positionLookup.query.reset();
    m_idLookup.query.reset();
    --liveEngines;
    // Closing a shared connection would cut off every other engine still in use.
    if (liveEngines == 0)
        m_db.close();
}

QString VorelEBookDatabaseEngine::connectionName()
{
    return QLatin1String(ConnectionName);
}

void VorelEBookDatabaseEngine::openOrCreate()
{
    const QString name = QLatin1String(ConnectionName);
    if (liveEngines > 0 && QSqlDatabase::contains(name)) {
        m_db = QSqlDatabase::database(name, true);
        if (m_db.isOpen())
            return;
    }

    QDir().mkpath(DbFolder);
    m_db = QSqlDatabase::contains(name)
               ? QSqlDatabase::database(name, false)
               : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // Nobody else uses the connection now: follow the current data root.
    m_db.close();
    m_db.setDatabaseName(databasePath());
    if (!m_db.open())
        return; // every later statement fails and reports false
    // With a write-ahead log a read takes one lock on the shared index instead
    // of the lock dance and the journal checks on every lookup, and a reader no
    // longer waits for the shelf's writes. Where the file system cannot share
    // the index, the file stays in its rollback journal and works as before.
    exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    createTables();
}

void VorelEBookDatabaseEngine::createTables()
{
    // On an existing file each statement fails because its table is there.
    static const char *const statements[] = {
        "CREATE TABLE DBBookTable(bookid unique,bookname,bookAuthor,bookSize,bookIcon,bookPath,"
        "bookDownloadingDate,bookReadingDate,bookMark)",
        "CREATE TABLE DBBookContentTable(bookid unique,bookChapterId,bookChapterName,"
        "bookReadingPageNum)",
        "CREATE TABLE BookSortState(stateid ,sortType)",
        "CREATE TABLE BookMarkRelation(bookid ,bookname,chapterid,chaptername,pagenum,"
        "chapterpagenum,bookMarkDate,bookMarkDescription)",
        "CREATE TABLE DBUserTable(userid unique)",
    };
    QSqlQuery query(m_db);
    for (const char *statement : statements)
        exec(query, QLatin1String(statement));
}

bool VorelEBookDatabaseEngine::exec(QSqlQuery &query, const QString &statement,
                                    const QVariantList &values)
{
    if (!m_db.isOpen())
        return false;
    if (!query.prepare(statement))
        return false;
    for (const QVariant &value : values)
        query.addBindValue(value);
    return query.exec();
}

bool VorelEBookDatabaseEngine::exec(const QString &statement, const QVariantList &values)
{
    QSqlQuery query(m_db);
    return exec(query, statement, values);
}

bool VorelEBookDatabaseEngine::selectBooks(const QString &statement,
                                           QList<VorelEBookItemData> &bookInfo)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!exec(query, statement))
        return false;
    while (query.next())
        bookInfo.append(bookFromRow(query));
    return true;
}

bool VorelEBookDatabaseEngine::countRows(const QString &statement, const QVariantList &values,
                                         int &recordCount)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    const bool ok = exec(query, statement, values);
    int count = 0;
    while (ok && query.next())
        ++count;
    recordCount = count;
    return ok;
}

// ---- Book table ----

bool VorelEBookDatabaseEngine::GetBookInformation(QList<VorelEBookItemData> &bookInfo)
{
    int state = 0;
    GetBookSortState(state);
    if (state == 1)
        return SelectEBookInfoByAuthor(bookInfo);
    if (state == 2)
        return SelectEBookInfoByBookname(bookInfo);
    return SelectEBookInfoByDefault(bookInfo);
}

bool VorelEBookDatabaseEngine::SelectEBookInfoByDefault(QList<VorelEBookItemData> &bookInfo)
{
    // New books newest first, then read books latest first, then the rest by id.
    selectBooks(QStringLiteral("SELECT * FROM DBBookTable where bookMark = '1' order by "
                               "bookDownloadingDate DESC"),
                bookInfo);
    selectBooks(QStringLiteral("SELECT * FROM DBBookTable where bookMark = '0' and "
                               "bookReadingDate > 0 order by bookReadingDate DESC"),
                bookInfo);
    return selectBooks(QStringLiteral("SELECT * FROM DBBookTable where bookMark = '0' and "
                                      "bookReadingDate = 0 order by bookid"),
                       bookInfo);
}

bool VorelEBookDatabaseEngine::SelectEBookInfoById(QList<VorelEBookItemData> &bookInfo)
{
    return SelectEBookInfoByDefault(bookInfo);
}

bool VorelEBookDatabaseEngine::SelectEBookInfoByAuthor(QList<VorelEBookItemData> &bookInfo)
{
    return selectBooks(QStringLiteral("SELECT * FROM DBBookTable Order by bookAuthor DESC"),
                       bookInfo);
}

bool VorelEBookDatabaseEngine::SelectEBookInfoByBookname(QList<VorelEBookItemData> &bookInfo)
{
    return selectBooks(QStringLiteral("SELECT * FROM DBBookTable Order by bookname DESC"),
                       bookInfo);
}

bool VorelEBookDatabaseEngine::SelectEBookInfoByReadingDate(QList<VorelEBookItemData> &bookInfo)
{
    return selectBooks(QStringLiteral("SELECT * FROM DBBookTable Order by bookReadingDate"),
                       bookInfo);
}

bool VorelEBookDatabaseEngine::SelectEBookInfoByDownloadingDate(QList<VorelEBookItemData> &bookInfo)
{
    return selectBooks(QStringLiteral("SELECT * FROM DBBookTable Order by bookDownloadingDate"),
                       bookInfo);
}

bool VorelEBookDatabaseEngine::AddEBookInfo(const VorelEBookItemData &bookInfo)
{
    QVariantList values = bookValues(bookInfo);
    values.prepend(text(bookInfo.m_bookId));
    return exec(QStringLiteral("INSERT INTO DBBookTable(bookid,bookname,bookAuthor,bookSize,"
                               "bookIcon,bookPath,bookDownloadingDate,bookReadingDate,bookMark) "
                               "VALUES(?,?,?,?,?,?,?,?,?)"),
                values);
}

bool VorelEBookDatabaseEngine::UpdateEBookInfo(QString bookId, const VorelEBookItemData &bookInfo)
{
    // The row is found by the argument; the record's own id is not used.
    QVariantList values = bookValues(bookInfo);
    values.append(text(bookId));
    return exec(QStringLiteral("UPDATE DBBookTable SET bookname = ?, bookAuthor = ?, bookSize=?, "
                               "bookIcon=?,bookPath=?,bookDownloadingDate=?,bookReadingDate=?, "
                               "bookMark=? WHERE bookid = ?"),
                values);
}

bool VorelEBookDatabaseEngine::DeleteEBookInfo(QString bookId)
{
    return exec(QStringLiteral("DELETE FROM DBBookTable WHERE bookId = ?"), {text(bookId)});
}

bool VorelEBookDatabaseEngine::DeleteAllEBookInfo()
{
    return exec(QStringLiteral("DELETE FROM DBBookTable"));
}

bool VorelEBookDatabaseEngine::GetBookProperty(QString bookId, VorelEBookItemData &bookInfo)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!exec(query, QStringLiteral("SELECT * FROM DBBookTable WHERE bookId = ? Order by bookid"),
              {text(bookId)}))
        return false;
    if (query.next())
        bookInfo = bookFromRow(query);
    return true;
}

bool VorelEBookDatabaseEngine::isBookIdExisted(QString bookId)
{
    QSqlQuery *query =
        execKept(m_idLookup, "SELECT bookid FROM DBBookTable where bookid = ?", bookId);
    if (!query)
        return false;
    const bool found = query->next();
    query->finish();
    return found;
}

bool VorelEBookDatabaseEngine::GetBookIds(QSet<QString> &ids)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!exec(query, QStringLiteral("SELECT bookid FROM DBBookTable")))
        return false;
    while (query.next())
        ids.insert(query.value(0).toString());
    return true;
}

bool VorelEBookDatabaseEngine::setNewiconFlagToDB(QString bookId, int flag)
{
    // Stored as text like every other write of the flag, so the listings that
    // compare it with '0' and '1' see the change.
    return exec(QStringLiteral("update DBBookTable set bookMark = ?  where bookid = ?"),
                {decimalText(flag), text(bookId)});
}

bool VorelEBookDatabaseEngine::UpdateReadingDateByBookId(QString bookId,
                                                         QDateTime m_lastReadingDate)
{
    // Showing a book for reading also clears its new-book flag. A book that
    // is not in the library is no success: its reader must not go on to
    // store a position for it.
    QSqlQuery query(m_db);
    return exec(query,
                QStringLiteral("UPDATE DBBookTable SET bookReadingDate=?,bookMark =?  WHERE "
                               "bookid = ?"),
                {integer(m_lastReadingDate.toSecsSinceEpoch()), decimalText(0), text(bookId)}) &&
           query.numRowsAffected() > 0;
}

// ---- Reading position ----

bool VorelEBookDatabaseEngine::AddEBookChapterInfo(QString bookid,
                                                   const VorelEBookChapterItemData &bookChapterInfo)
{
    return exec(QStringLiteral("INSERT INTO DBBookContentTable(bookid,bookChapterId,"
                               "bookChapterName,bookReadingPageNum) VALUES(?,?,?,?)"),
                {text(bookid), text(bookChapterInfo.m_bookChapterId),
                 text(bookChapterInfo.m_bookChapterName),
                 decimalText(bookChapterInfo.m_bookReadingPageNum)});
}

bool VorelEBookDatabaseEngine::UpdateBookChapterMark(
    QString bookid, const VorelEBookChapterItemData &bookChapterInfo)
{
    return exec(QStringLiteral("UPDATE DBBookContentTable SET bookChapterId = ?, bookChapterName "
                               "= ?, bookReadingPageNum= ? WHERE bookid = ?"),
                {text(bookChapterInfo.m_bookChapterId), text(bookChapterInfo.m_bookChapterName),
                 decimalText(bookChapterInfo.m_bookReadingPageNum), text(bookid)});
}

QSqlQuery *VorelEBookDatabaseEngine::execKept(KeptLookup &lookup, const char *statement,
                                              const QString &bookid)
{
    if (!m_db.isOpen())
        return nullptr;
    if (!lookup.query) {
        lookup.query = std::make_unique<QSqlQuery>(m_db);
        lookup.query->setForwardOnly(true);
    }
    QSqlQuery &query = *lookup.query;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!lookup.prepared)
            lookup.prepared = query.prepare(QLatin1String(statement));
        if (!lookup.prepared)
            return nullptr;
        query.bindValue(0, text(bookid));
        if (query.exec())
            return &query;
        // Closing the shared connection ends every statement prepared on it.
        lookup.prepared = false;
    }
    return nullptr;
}

bool VorelEBookDatabaseEngine::GetBookChapterMark(QString bookid,
                                                  VorelEBookChapterItemData &bookChapterInfo)
{
    QSqlQuery *found =
        execKept(m_positionLookup,
                 "SELECT * FROM DBBookContentTable WHERE bookId = ? Order by bookid", bookid);
    if (!found)
        return false;
    QSqlQuery &query = *found;
    if (query.next()) {
        bookChapterInfo.m_bookChapterId = query.value(1).toString();
        bookChapterInfo.m_bookChapterName = query.value(2).toString();
        bookChapterInfo.m_bookReadingPageNum = query.value(3).toInt();
    }
    // A statement left running would keep the database locked for writers.
    query.finish();
    return true;
}

bool VorelEBookDatabaseEngine::GetBookChapterMarkCount(QString bookid, int &recordCount)
{
    return countRows(QStringLiteral("SELECT * FROM DBBookContentTable WHERE bookid = ?"),
                     {text(bookid)}, recordCount);
}

bool VorelEBookDatabaseEngine::DeleteBookmark(QString bookid)
{
    return exec(QStringLiteral("DELETE FROM DBBookContentTable WHERE bookId = ?"), {text(bookid)});
}

// ---- Bookmarks ----

bool VorelEBookDatabaseEngine::AddMarkRelation(
    const VorelEBookMarkRelationItem &bookMarkRelationItem)
{
    const VorelEBookMarkRelationItem &m = bookMarkRelationItem;
    return exec(QStringLiteral("INSERT INTO BookMarkRelation(bookid ,bookname,chapterid,"
                               "chaptername,pagenum,chapterpagenum,bookMarkDate,"
                               "bookMarkDescription) VALUES(?,?,?,?,?,?,?,?)"),
                {text(m.m_bookId), text(m.m_bookName), text(m.m_bookChapterId),
                 text(m.m_bookChapterName), decimalText(m.m_bookReadingPageNum),
                 decimalText(m.m_chapterpageNum),
                 text(m.m_bookMarkDate.toString(bookMarkDateFormat())), text(m.m_bookMarkDes)});
}

bool VorelEBookDatabaseEngine::GetMarkRelationInfo(
    QString bookId, QList<VorelEBookMarkRelationItem> &bookRelationItem)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!exec(query,
              QStringLiteral(
                  "SELECT * FROM BookMarkRelation WHERE bookid = ? Order by bookMarkDate DESC"),
              {text(bookId)}))
        return false;
    while (query.next())
        bookRelationItem.append(markFromRow(query));
    return true;
}

bool VorelEBookDatabaseEngine::GetMarkRelationCount(QString bookId, QString chapterid,
                                                    int bookpageNum, int &recordCount)
{
    return countRows(QStringLiteral("SELECT * FROM BookMarkRelation WHERE bookid = ? and "
                                    "chapterid =? and pagenum = ? "),
                     {text(bookId), text(chapterid), decimalText(bookpageNum)}, recordCount);
}

bool VorelEBookDatabaseEngine::DeleteMarkRelation(QString bookId, QString chapterid,
                                                  int bookpageNum)
{
    return exec(QStringLiteral("DELETE FROM BookMarkRelation WHERE bookId = ? and chapterid =? "
                               "and pagenum = ? "),
                {text(bookId), text(chapterid), decimalText(bookpageNum)});
}

bool VorelEBookDatabaseEngine::DeleteBookmarkRelation(QString bookid)
{
    return exec(QStringLiteral("DELETE FROM BookMarkRelation WHERE bookId = ?"), {text(bookid)});
}

bool VorelEBookDatabaseEngine::deleteOneBookMarkRelation(QString bookId)
{
    return exec(QStringLiteral("DELETE FROM BookMarkRelation WHERE bookid = ?"), {text(bookId)});
}

bool VorelEBookDatabaseEngine::DeleteAllRelation()
{
    return exec(QStringLiteral("DELETE FROM BookMarkRelation"));
}

// ---- Shelf order ----

bool VorelEBookDatabaseEngine::AddBookSortState(int stateID, int state)
{
    // Only the first run inserts: a persisted order survives restarts.
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!exec(query, QStringLiteral("SELECT * From BookSortState")))
        return false;
    if (query.next())
        return true;
    return exec(QStringLiteral("INSERT INTO BookSortState (stateid,sortType) VALUES (?,?) "),
                {integer(stateID), integer(state)});
}

bool VorelEBookDatabaseEngine::UpdateBookSortState(int stateID, int state)
{
    return exec(QStringLiteral("UPDATE BookSortState SET sortType = ? WHERE stateid = ? "),
                {integer(state), integer(stateID)});
}

bool VorelEBookDatabaseEngine::GetBookSortState(int &state)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!exec(query, QStringLiteral("SELECT * FROM BookSortState ")))
        return false;
    while (query.next())
        state = query.value(1).toInt();
    return true;
}

// ---- Store users ----

bool VorelEBookDatabaseEngine::AddUserIdToDB(QString aUid)
{
    return exec(QStringLiteral("INSERT INTO DBUserTable(userid) VALUES (?) "), {userId(aUid)});
}

bool VorelEBookDatabaseEngine::UpdateUserIdFromDB(QString aOriginalUid, QString aNewUid)
{
    return exec(QStringLiteral("UPDATE DBUserTable SET userid = ? WHERE userid = ? "),
                {userId(aNewUid), userId(aOriginalUid)});
}

bool VorelEBookDatabaseEngine::DeleteUserIdFromDB(QString aUserId)
{
    // Bound in the same form as it was stored, so a numeric id is found again.
    return exec(QStringLiteral("DELETE FROM DBUserTable WHERE userid = ?"), {userId(aUserId)});
}

bool VorelEBookDatabaseEngine::GetUserIdFromDB(QString &aUserId)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!exec(query, QStringLiteral("SELECT * FROM DBUserTable ")))
        return false;
    while (query.next())
        aUserId = query.value(0).toString();
    return true;
}

bool VorelEBookDatabaseEngine::UpdateDBBookTable()
{
    return exec(QStringLiteral("UPDATE DBBookTable SET bookDownloadingDate = 0,bookReadingDate=0"));
}
