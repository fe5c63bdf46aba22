#include "booksearchmodel.h"

#include "booksearcher.h"
#include "vebookreader.h"
#include "vorelebookdatabaseengine.h"
#include "vorelebookitemdata.h"

#include <QQmlContext>
#include <QQuickView>
#include <QVariantMap>

namespace {
const QString ContextName = QStringLiteral("bookSearch");

// The snippet as styled text with the hit in bold and underlined; what the
// book says is escaped, so no text of a book is read as markup.
QString MarkedSnippet(const BookSearchHit &hit)
{
    const QString before = hit.snippet.left(hit.markStart);
    const QString found = hit.snippet.mid(hit.markStart, hit.length);
    const QString after = hit.snippet.mid(hit.markStart + hit.length);
    return before.toHtmlEscaped() + QStringLiteral("<b><u>") + found.toHtmlEscaped() +
           QStringLiteral("</u></b>") + after.toHtmlEscaped();
}
} // namespace

BookSearchModel::BookSearchModel(VEBookReader &reader, VorelEBookDatabaseEngine &db,
                                 QObject *parent)
    : StoredListModel({{ChapterNameRole, "chapterName"},
                       {SnippetRole, "snippet"},
                       {ChapterNumRole, "chapterNum"},
                       {OffsetRole, "offset"}},
                      parent),
      m_reader(&reader), m_db(db)
{
    connect(&m_engine, &BookSearchEngine::hitsFound, this, &BookSearchModel::onHitsFound);
    connect(&m_engine, &BookSearchEngine::searchFinished, this, &BookSearchModel::onSearchFinished);
}

BookSearchModel::~BookSearchModel()
{
    if (m_view)
        m_view->rootContext()->setContextProperty(ContextName, nullptr);
}

void BookSearchModel::setDeclarativeView(QQuickView &view)
{
    m_view = &view;
    view.rootContext()->setContextProperty(ContextName, this);
}

QVariant BookSearchModel::storedData(int row, int role) const
{
    const BookSearchHit &hit = m_hits.at(row);
    switch (role) {
    case ChapterNameRole:
        return hit.chapterName;
    case SnippetRole:
        return MarkedSnippet(hit);
    case ChapterNumRole:
        return hit.chapterNum;
    case OffsetRole:
        return qlonglong(hit.offset);
    default:
        return QVariant();
    }
}

void BookSearchModel::clearHits()
{
    if (m_hits.isEmpty())
        return;
    beginResetModel();
    m_hits.clear();
    endResetModel();
    emit countChanged();
}

void BookSearchModel::setSearching(bool searching, int error)
{
    m_searching = searching;
    m_lastError = error;
    emit searchingChanged();
}

QString BookSearchModel::openBookPath(const QString &bookId) const
{
    VorelEBookItemData row;
    if (bookId.isEmpty() || !m_db.GetBookProperty(bookId, row))
        return QString();
    return row.m_bookStorePath;
}

void BookSearchModel::search(const QString &text)
{
    m_engine.cancel();
    clearHits();
    m_query = text.trimmed();
    m_truncated = false;
    m_bookId = m_reader ? m_reader->bookId() : QString();
    m_path = openBookPath(m_bookId);
    if (m_query.isEmpty()) {
        setSearching(false, EerrorNot);
        return;
    }
    if (m_path.isEmpty()) {
        setSearching(false, EFileNotExist);
        return;
    }
    m_generation = m_engine.start(m_bookId, m_path, m_query);
    setSearching(true, EerrorNot);
}

void BookSearchModel::cancel()
{
    m_engine.cancel();
    if (m_searching)
        setSearching(false, m_lastError);
}

void BookSearchModel::resetIfBookChanged()
{
    if (m_reader && m_reader->bookId() == m_bookId)
        return;
    cancel();
    clearHits();
    m_query.clear();
    m_bookId.clear();
    setSearching(false, EerrorNot);
}

void BookSearchModel::onHitsFound(quint64 generation, const QList<BookSearchHit> &hits)
{
    if (generation != m_generation || !m_searching || hits.isEmpty())
        return;
    beginInsertRows(QModelIndex(), count(), count() + int(hits.size()) - 1);
    m_hits.append(hits);
    endInsertRows();
    emit countChanged();
}

void BookSearchModel::onSearchFinished(quint64 generation, int result)
{
    if (generation != m_generation || !m_searching)
        return;
    m_truncated = result == BookSearcher::TooManyHits;
    setSearching(false, result > 0 ? result : int(EerrorNot));
}

int BookSearchModel::locateHit(const BookSearchHit &hit, int &page,
                               QList<HitPageLocator::Mark> &marks)
{
    if (!m_chapters.isOpenFor(m_bookId, m_path)) {
        const int opened = m_chapters.open(m_bookId, m_path);
        if (opened != EerrorNot)
            return opened;
    }
    QString text;
    const int read = m_chapters.readChapter(hit.chapterNum, text);
    if (read != EerrorNot)
        return read;
    const HitPageLocator locator(text);
    page = locator.pageOf(hit.offset);
    if (page < 0)
        return EFileSizeError;
    marks = locator.marksOnPage(page, hit.offset, hit.length);
    return EerrorNot;
}

bool BookSearchModel::movePageTo(int chapterNum, int page)
{
    // As a choice from the chapter list: to the chapter's first page, then
    // page by page within the chapter.
    if (m_reader->GetInfomationFromChapter(QString(), chapterNum - 1) != EerrorNot ||
        m_reader->GetFirstPageContent() != EerrorNot)
        return false;
    for (int step = 0; step < page && m_reader->currentPageNum() < page; ++step) {
        if (m_reader->GetNextOnePageContent() != EerrorNot)
            return false;
    }
    return m_reader->currentChapterNum() == chapterNum && m_reader->currentPageNum() == page;
}

bool BookSearchModel::jumpTo(int row)
{
    if (!isValidRow(row) || !m_reader || m_reader->bookId() != m_bookId)
        return false;
    const BookSearchHit hit = m_hits.at(row);
    int page = -1;
    QList<HitPageLocator::Mark> marks;
    if (locateHit(hit, page, marks) != EerrorNot || !movePageTo(hit.chapterNum, page))
        return false;
    m_marks = marks;
    m_markChapter = hit.chapterNum;
    m_markPage = page;
    return true;
}

QVariantList BookSearchModel::currentMarks()
{
    QVariantList result;
    const bool onMarkedPage = m_reader && m_reader->bookId() == m_bookId &&
                              m_reader->currentChapterNum() == m_markChapter &&
                              m_reader->currentPageNum() == m_markPage;
    if (!onMarkedPage) {
        m_marks.clear();
        return result;
    }
    for (const HitPageLocator::Mark &mark : std::as_const(m_marks))
        result.append(
            QVariantMap{{"line", mark.line}, {"column", mark.column}, {"length", mark.length}});
    return result;
}
