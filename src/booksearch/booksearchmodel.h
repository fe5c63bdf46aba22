#ifndef BOOKSEARCHMODEL_H
#define BOOKSEARCHMODEL_H

#include "bookchaptersource.h"
#include "booksearchengine.h"
#include "booksearchhit.h"
#include "hitpagelocator.h"
#include "storedlistmodel.h"

#include <QList>
#include <QPointer>
#include <QVariantList>

class QQuickView;
class VEBookReader;
class VorelEBookDatabaseEngine;

// The hits of a search inside the open book, for the search screen, and the
// jump from a hit to the page that holds it. Hits arrive chapter by chapter
// while the search goes on.
class BookSearchModel : public StoredListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(bool searching READ searching NOTIFY searchingChanged)
    // The search stopped at BookSearcher::MaxHits hits.
    Q_PROPERTY(bool truncated READ truncated NOTIFY searchingChanged)
    // 0, or the package reader's code when the book or a chapter could not be
    // read (1: no open book).
    Q_PROPERTY(int lastError READ lastError NOTIFY searchingChanged)
    Q_PROPERTY(QString query READ query NOTIFY searchingChanged)

public:
    enum Roles
    {
        ChapterNameRole = FirstRole,
        SnippetRole,
        ChapterNumRole,
        OffsetRole
    };

    BookSearchModel(VEBookReader &reader, VorelEBookDatabaseEngine &db, QObject *parent = nullptr);
    ~BookSearchModel() override;

    // Registers "bookSearch".
    void setDeclarativeView(QQuickView &view);

    int count() const { return int(m_hits.size()); }
    bool searching() const { return m_searching; }
    bool truncated() const { return m_truncated; }
    int lastError() const { return m_lastError; }
    QString query() const { return m_query; }
    BookSearchEngine &engine() { return m_engine; }

    // Starts searching the open book, dropping the hits and the search before.
    Q_INVOKABLE void search(const QString &text);
    Q_INVOKABLE void cancel();
    // Moves the reading engine to the page holding the hit of row and marks
    // the hit there; false, with the position unchanged where possible, when
    // the hit cannot be reached.
    Q_INVOKABLE bool jumpTo(int row);
    // The marks of the hit jumped to, while the reading engine is still on
    // its page: a list of {line, column, length}. Once the page has been
    // turned they are gone.
    Q_INVOKABLE QVariantList currentMarks();
    // Drops the hits of a book other than the open one.
    Q_INVOKABLE void resetIfBookChanged();

signals:
    void countChanged();
    void searchingChanged();

private:
    int storedCount() const override { return count(); }
    QVariant storedData(int row, int role) const override;
    void onHitsFound(quint64 generation, const QList<BookSearchHit> &hits);
    void onSearchFinished(quint64 generation, int result);
    void clearHits();
    void setSearching(bool searching, int error);
    QString openBookPath(const QString &bookId) const;
    int locateHit(const BookSearchHit &hit, int &page, QList<HitPageLocator::Mark> &marks);
    bool movePageTo(int chapterNum, int page);

    QPointer<VEBookReader> m_reader;
    VorelEBookDatabaseEngine &m_db;
    QPointer<QQuickView> m_view;
    BookSearchEngine m_engine;
    quint64 m_generation = 0;
    QList<BookSearchHit> m_hits;
    QString m_query;
    QString m_bookId;
    QString m_path;
    bool m_searching = false;
    bool m_truncated = false;
    int m_lastError = 0;
    // Reads the chapter of a hit for the jump, on the GUI thread.
    BookChapterSource m_chapters;
    QList<HitPageLocator::Mark> m_marks;
    int m_markChapter = 0;
    int m_markPage = -1;
};

#endif // BOOKSEARCHMODEL_H
