#ifndef VORELEBOOKSHELFMGR_H
#define VORELEBOOKSHELFMGR_H

#include "booksortstate.h"
#include "vorelebookchapteritemdata.h"
#include "vorelebookitemdata.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <memory>

class QQuickView;
class VorelEBookDatabaseEngine;

// The shelf's list of books in the user's order, and the shelf's one door to
// the library database. Registered for the screens as "bookshelfMgrModel".
class VorelEBookShelfMgr : public QObject
{
    Q_OBJECT

public:
    explicit VorelEBookShelfMgr(QObject *parent = nullptr);
    ~VorelEBookShelfMgr() override;

    void setDeclarativeView(QQuickView &view);
    // Takes the download engine; its downloadFinishedResponse(QString,QString)
    // is relayed to the shelf through scanNewbookFinish.
    void setDownloadManager(QObject *downloadmanager);

    // Listings. Each frees the current list and builds a fresh one.
    bool GetBookList();
    QList<VorelEBookItemData> *GetListData();
    bool SortEBookItemByBookName();
    bool SortEBookItemByAuthor();
    bool SortEBookItemById();
    bool SortEBookItemByReadingDate();
    bool SortEBookItemByDownloadingDate();
    bool GetBookSortState(BookSortState &bookState);

    bool AddEBookInfo(const VorelEBookItemData &bookInfo);
    bool UpdateEBookItem(QString bookId, const VorelEBookItemData &bookInfo);
    Q_INVOKABLE bool DeleteEBookItem(QString bookId);
    bool DeleteAllEBookItem();
    bool GetVorelBookProperty(QString bookId, VorelEBookItemData &bookInfo);
    bool isBookIdExisted(QString bookId);
    // Every id in the library; empty when there is no library.
    QSet<QString> knownBookIds();
    bool setNewiconFlag(QString bookId, int flag);

    bool AddEBookChapterItem(QString bookId, const VorelEBookChapterItemData &item);
    bool GetChapterMark(QString bookId, VorelEBookChapterItemData &item);
    bool UpdateAutomaicChapterMark(QString bookId, const VorelEBookChapterItemData &item);

    bool AddUserId(QString userId);

signals:
    void scanNewBookUpdateBookshelf(QString cID, QString filePath);

public slots:
    void scanNewbookFinish(QString cID, QString filePath);

private:
    using Reader = bool (VorelEBookDatabaseEngine::*)(QList<VorelEBookItemData> &);
    bool reload(Reader read);
    bool sortAndPersist(Reader read, BookSortState state);

    std::unique_ptr<QList<VorelEBookItemData>> m_allList;
    std::unique_ptr<VorelEBookDatabaseEngine> m_database;
    QPointer<QObject> m_downloadmanager;
    QPointer<QQuickView> m_view;
};

#endif // VORELEBOOKSHELFMGR_H
