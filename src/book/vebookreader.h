#ifndef VEBOOKREADER_H
#define VEBOOKREADER_H

#include "vbpreader.h"
#include "vorelebookmarkrelationitem.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

class QQuickView;
class VorelEBookDatabaseEngine;
class VRRBookInfo;
class VRBChaptersRelt;
class VorelEBookChapterItemData;
class indexAndMarkViewListModel;

// The engine behind the reading screen: opens a package, lays the current
// chapter out into pages of 20 lines of at most 15 characters, pages across
// chapters, keeps the reading position and the bookmarks in the library
// database and fills the chapter/bookmark list.
class VEBookReader : public QObject
{
    Q_OBJECT

public:
    static constexpr int LineChars = 15;
    static constexpr int PageLines = 20;

    explicit VEBookReader(QObject *parent = nullptr);
    ~VEBookReader() override;

    // Taken as const references so that the screens can call it too.
    Q_INVOKABLE int OpenOneBook(const QString &bookid, const QString &path);
    Q_INVOKABLE int GetFirstPageContent();
    Q_INVOKABLE int GetNextOnePageContent();
    Q_INVOKABLE int GetPreOnePageContent();
    Q_INVOKABLE bool IsTheFistPage();
    Q_INVOKABLE bool IsTheLastPage();
    Q_INVOKABLE QString GetOneLineContent(int index);
    Q_INVOKABLE bool StartUpListView();
    Q_INVOKABLE bool GetChapterList();
    Q_INVOKABLE int GetInfomationFromChapter(QString Chaptername, int ChapterID);
    Q_INVOKABLE void SetPreChapterNum();
    Q_INVOKABLE bool GetBookmarkList();
    Q_INVOKABLE bool GetInfomationFromBookMark(int index);
    Q_INVOKABLE bool IsBookMark();
    Q_INVOKABLE bool SaveBookMrak();
    Q_INVOKABLE bool DeleteOneBookMark(int bookmarkindex);
    Q_INVOKABLE int ResetBookInfo(QString bookid);

    void SetDBEngine(VorelEBookDatabaseEngine *&dbEngine);
    void setDeclarativeView(QQuickView &view);

    // Bookshelf services.
    bool SearchVbpFile(QString folder, QList<QString> &filepath, QList<QString> &bookid);
    int GetDownLoadBookInfo(const QString &bookid, const QString &BookPath, QString &bookname,
                            QString &IconPath, QString &BookAuthor, uint &BookSize);
    bool DeleteFileFromDisk(const QString &bookPath, const QString &iconPath);

    // Lays a chapter text out into pages of lines.
    static QList<QStringList> LayoutPages(const QString &text);
    // Where each page of a (non-empty) chapter text starts, and the lines of
    // the page starting at start: LayoutPages in two steps.
    static QList<qsizetype> PageStarts(const QString &text);
    static QStringList PageFrom(const QString &text, qsizetype start);
    // Book ids become file names: no separators, no "..", not empty.
    static bool IsSafeBookId(const QString &bookid);

    indexAndMarkViewListModel *listModel() const { return ChapterNameListModel; }
    int currentChapterNum() const { return CurrentChapterNum; }
    int currentPageNum() const { return CurrentPageNum; }
    // Lays the rest of the chapter out.
    int chapterPageCount();
    int chapterCount() const { return AllChapterNum; }
    const QString &bookId() const { return BookId; }
    // Where the current page starts in the current chapter's text, in
    // characters (0 while the chapter is not laid out).
    qsizetype currentPageStart() const
    {
        if (m_loadedChapterNum != CurrentChapterNum || CurrentPageNum < 0 ||
            CurrentPageNum >= m_pageStarts.size())
            return 0;
        return m_pageStarts.at(CurrentPageNum);
    }

private:
    // firstAfterOpen: the first chapter, read as part of opening the book.
    int GetOneChapterContent(bool firstAfterOpen = false);
    int GetOneChapterContentInfo(const QString &chapterId, bool firstAfterOpen);
    // packageRead tells whether the failure, if any, came after a package
    // that lists its chapters had been read.
    int GetChapterContent(const QString &bookid, const QString &path, bool &packageRead);
    int GetOneChapterPageNum();
    void SetOneLineContent();
    // Whether an open result means the package itself is malformed.
    static bool IsDamagedPackage(int result);
    void RemoveBrokenBook();
    bool ChapterInBook(int chapterNum) const;
    QString CurrentChapterId() const;
    QString FirstTextLineOfPage();
    // Lays the chapter out until it has that many pages or ends.
    void LayOutUpTo(qsizetype pages);
    // Whether the chapter has the page (0-based), laying it out that far.
    bool HasPage(int page);
    bool StorePosition(const QString &bookid, const VorelEBookChapterItemData &record);

    VorelEBookDatabaseEngine *m_dbEngine = nullptr;
    VbpReader m_vbpReader;
    int preChapterNum = 1;
    int prePageNum = 0;
    // Replaced by a fresh description for every book, so nothing of the
    // previous book leaks into the next one; never null.
    std::unique_ptr<VRRBookInfo> bookinfo;
    VRBChaptersRelt *chapter = nullptr;
    indexAndMarkViewListModel *ChapterNameListModel = nullptr;
    QString OneChapterInfo;
    // Where the next chapter's text is read; it then changes places with
    // OneChapterInfo.
    QString m_nextChapterText;
    int OneChapterContentNum = 0;
    int AllChapterNum = 0;
    int CurrentPageNum = 0;
    int CurrentChapterNum = 1;
    QString BookId;
    QPointer<QQuickView> m_view;
    QStringList PageLineContent;
    bool IsFromListView = false;
    QList<VorelEBookMarkRelationItem> bookmark;
    // Where each page of OneChapterInfo laid out so far starts, where the
    // layout goes on (-1: all laid out) and how many lines it has made;
    // OneChapterContentNum counts the pages laid out so far.
    QList<qsizetype> m_pageStarts;
    qsizetype m_layoutFrom = -1;
    int m_layoutLines = 0;
    // The chapter whose pages m_pageStarts holds (0: none).
    int m_loadedChapterNum = 0;
};

#endif // VEBOOKREADER_H
