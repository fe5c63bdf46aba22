#ifndef VORELEBOOKDATABASEENGINE_H
#define VORELEBOOKDATABASEENGINE_H

#include "vorelebookchapteritemdata.h"
#include "vorelebookitemdata.h"
#include "vorelebookmarkrelationitem.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSqlDatabase>
#include <QVariantList>
#include <memory>

class QSqlQuery;

// The library database: shelf books, reading positions, bookmarks, the shelf
// order and the store user ids. Every instance works on one shared named
// connection; each operation is one synchronous statement whose success is
// the result. Values are always bound, never pasted into statement text.
class VorelEBookDatabaseEngine : public QObject
{
    Q_OBJECT

public:
    explicit VorelEBookDatabaseEngine(QObject *parent = nullptr);
    ~VorelEBookDatabaseEngine() override;

    // Book table.
    bool GetBookInformation(QList<VorelEBookItemData> &bookInfo);
    bool SelectEBookInfoByDefault(QList<VorelEBookItemData> &bookInfo);
    bool SelectEBookInfoById(QList<VorelEBookItemData> &bookInfo);
    bool SelectEBookInfoByAuthor(QList<VorelEBookItemData> &bookInfo);
    bool SelectEBookInfoByBookname(QList<VorelEBookItemData> &bookInfo);
    bool SelectEBookInfoByReadingDate(QList<VorelEBookItemData> &bookInfo);
    bool SelectEBookInfoByDownloadingDate(QList<VorelEBookItemData> &bookInfo);
    bool AddEBookInfo(const VorelEBookItemData &bookInfo);
    bool UpdateEBookInfo(QString bookId, const VorelEBookItemData &bookInfo);
    bool DeleteEBookInfo(QString bookId);
    bool DeleteAllEBookInfo();
    bool GetBookProperty(QString bookId, VorelEBookItemData &bookInfo);
    bool isBookIdExisted(QString bookId);
    // Every id in the library, for a scan that asks about many at once.
    bool GetBookIds(QSet<QString> &ids);
    bool setNewiconFlagToDB(QString bookId, int flag);
    bool UpdateReadingDateByBookId(QString bookId, QDateTime m_lastReadingDate);

    // Reading position, one row per book.
    bool AddEBookChapterInfo(QString bookid, const VorelEBookChapterItemData &bookChapterInfo);
    bool UpdateBookChapterMark(QString bookid, const VorelEBookChapterItemData &bookChapterInfo);
    bool GetBookChapterMark(QString bookid, VorelEBookChapterItemData &bookChapterInfo);
    bool GetBookChapterMarkCount(QString bookid, int &recordCount);
    bool DeleteBookmark(QString bookid);

    // Bookmarks.
    bool AddMarkRelation(const VorelEBookMarkRelationItem &bookMarkRelationItem);
    bool GetMarkRelationInfo(QString bookId, QList<VorelEBookMarkRelationItem> &bookRelationItem);
    bool GetMarkRelationCount(QString bookId, QString chapterid, int bookpageNum, int &recordCount);
    bool DeleteMarkRelation(QString bookId, QString chapterid, int bookpageNum);
    bool DeleteBookmarkRelation(QString bookid);
    bool deleteOneBookMarkRelation(QString bookId);
    bool DeleteAllRelation();

    // Shelf order.
    bool AddBookSortState(int stateID, int state);
    bool UpdateBookSortState(int stateID, int state);
    bool GetBookSortState(int &state);

    // Store users.
    bool AddUserIdToDB(QString aUid);
    bool UpdateUserIdFromDB(QString aOriginalUid, QString aNewUid);
    bool DeleteUserIdFromDB(QString aUserId);
    bool GetUserIdFromDB(QString &aUserId);

    bool UpdateDBBookTable();

    // The named connection every engine shares; tables of our own live beside
    // the described ones in the same file.
    static QString connectionName();

    // Text form of bookmark dates; fixed width, so text order is time order.
    static QString bookMarkDateFormat() { return QStringLiteral("yyyy.MM.dd.hh.mm.ss"); }

private:
    void openOrCreate();
    void createTables();
    bool exec(QSqlQuery &query, const QString &statement, const QVariantList &values = {});
    bool exec(const QString &statement, const QVariantList &values = {});
    bool selectBooks(const QString &statement, QList<VorelEBookItemData> &bookInfo);
    bool countRows(const QString &statement, const QVariantList &values, int &recordCount);

    QSqlDatabase m_db;
    // A look-up by one book id that runs often (a book's position at every
    // open, a known id for every package of a shelf scan): prepared once and
    // kept, and prepared again if the shared connection was reopened since.
    struct KeptLookup
    {
        std::unique_ptr<QSqlQuery> query;
        bool prepared = false;
    };
    // The lookup's query, run for bookid; null when it failed. The caller
    // finishes it, so no read stays open.
    QSqlQuery *execKept(KeptLookup &lookup, const char *statement, const QString &bookid);
    KeptLookup m_positionLookup;
    KeptLookup m_idLookup;
};

#endif // VORELEBOOKDATABASEENGINE_H
