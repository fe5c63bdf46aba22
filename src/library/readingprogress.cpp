#include "readingprogress.h"

#include "vbpreader.h"
#include "vebookreader.h"
#include "vorelebookdatabaseengine.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <memory>

namespace {

QSqlDatabase library()
{
    const QString name = VorelEBookDatabaseEngine::connectionName();
    if (!QSqlDatabase::contains(name))
        return QSqlDatabase();
    return QSqlDatabase::database(name, false);
}

bool run(QSqlQuery &query, const QString &statement, const QVariantList &values = {})
{
    if (!query.prepare(statement))
        return false;
    for (const QVariant &value : values)
        query.addBindValue(value);
    return query.exec();
}

bool run(const QString &statement, const QVariantList &values = {})
{
    QSqlDatabase db = library();
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    return run(query, statement, values);
}

// Counts are kept as one text per book, "120,3400,...", read back whole.
QString joined(const QList<qint64> &counts)
{
    QStringList parts;
    for (qint64 count : counts)
        parts << QString::number(count);
    return parts.join(QLatin1Char(','));
}

QList<qint64> split(const QString &text)
{
    QList<qint64> counts;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint64 count = part.toLongLong(&ok);
        if (!ok || count < 0)
            return {};
        counts << count;
    }
    return counts;
}

} // namespace

ReadingProgress::ReadingProgress(VEBookReader &reader, VorelEBookDatabaseEngine &db,
                                 QObject *parent)
    : QObject(parent), m_reader(reader), m_db(db)
{
    createTables(library());
}

void ReadingProgress::createTables(QSqlDatabase db)
{
    if (!db.isOpen())
        return;
    static const char *const statements[] = {
        "CREATE TABLE IF NOT EXISTS ReadingProgress(bookId TEXT PRIMARY KEY, "
        "chars_before_position INTEGER, total_chars INTEGER, chapter INTEGER, "
        "chapter_count INTEGER, updated INTEGER)",
        "CREATE TABLE IF NOT EXISTS ChapterCharCounts(bookId TEXT PRIMARY KEY, "
        "package_size INTEGER, package_mtime INTEGER, counts TEXT)",
        // Whoever takes a book off the shelf (the shelf, the reading engine on
        // a broken package) takes its progress with it.
        "CREATE TRIGGER IF NOT EXISTS ReadingProgressGoesWithBook AFTER DELETE ON DBBookTable "
        "BEGIN DELETE FROM ReadingProgress WHERE bookId = OLD.bookid; "
        "DELETE FROM ChapterCharCounts WHERE bookId = OLD.bookid; END",
    };
    QSqlQuery query(db);
    for (const char *statement : statements)
        run(query, QLatin1String(statement));
}

int ReadingProgress::percentOf(qint64 before, qint64 total)
{
    if (total <= 0 || before <= 0)
        return 0;
    return int(qMin<qint64>(100, before * 100 / total));
}

void ReadingProgress::refresh()
{
    const int chapter = m_reader.currentChapterNum();
    const int count = m_reader.chapterCount();
    qint64 before = 0;
    qint64 total = 0;
    if (loadCounts(m_reader.bookId()) && chapter >= 1 && chapter <= m_counts.size()) {
        for (int i = 0; i < m_counts.size(); ++i) {
            total += m_counts.at(i);
            if (i < chapter - 1)
                before += m_counts.at(i);
        }
        // The last page shows the end of the book: all of it has been read.
        before = m_reader.IsTheLastPage() ? total : before + m_reader.currentPageStart();
    }
    if (before == m_before && total == m_total && chapter == m_chapter && count == m_chapterCount)
        return;
    m_before = before;
    m_total = total;
    m_chapter = chapter;
    m_chapterCount = count;
    emit progressChanged();
}

bool ReadingProgress::store()
{
    refresh();
    if (m_reader.bookId().isEmpty() || m_total <= 0)
        return false;
    return run(QStringLiteral("INSERT OR REPLACE INTO ReadingProgress(bookId, "
                              "chars_before_position, total_chars, chapter, chapter_count, "
                              "updated) VALUES (?, ?, ?, ?, ?, ?)"),
               {m_reader.bookId(), m_before, m_total, m_chapter, m_chapterCount,
                QDateTime::currentSecsSinceEpoch()});
}

QHash<QString, int> ReadingProgress::storedPercentages()
{
    QHash<QString, int> percentages;
    QSqlDatabase db = library();
    if (!db.isOpen())
        return percentages;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query, QStringLiteral("SELECT bookId, chars_before_position, total_chars FROM "
                                   "ReadingProgress")))
        return percentages;
    while (query.next()) {
        percentages.insert(query.value(0).toString(),
                           percentOf(query.value(1).toLongLong(), query.value(2).toLongLong()));
    }
    return percentages;
}

bool ReadingProgress::loadCounts(const QString &bookId)
{
    if (bookId.isEmpty())
        return false;
    VorelEBookItemData book;
    if (bookId != m_countedBook && !m_db.GetBookProperty(bookId, book))
        return false;
    const QString path = bookId == m_countedBook ? m_countedPath : book.m_bookStorePath;
    const QFileInfo package(path);
    if (!package.isFile())
        return false;
    const qint64 size = package.size();
    const qint64 modified = package.lastModified().toMSecsSinceEpoch();
    if (bookId == m_countedBook && size == m_countedSize && modified == m_countedModified)
        return true;
    m_countedBook = bookId;
    m_countedPath = path;
    m_countedSize = size;
    m_countedModified = modified;
    if (readCounts(bookId, size, modified))
        return true;
    m_counts = countChapters(bookId, path);
    writeCounts(bookId, size, modified);
    return !m_counts.isEmpty();
}

bool ReadingProgress::readCounts(const QString &bookId, qint64 size, qint64 modified)
{
    QSqlDatabase db = library();
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    if (!run(query,
             QStringLiteral("SELECT counts FROM ChapterCharCounts WHERE bookId = ? AND "
                            "package_size = ? AND package_mtime = ?"),
             {bookId, size, modified}) ||
        !query.next())
        return false;
    m_counts = split(query.value(0).toString());
    // Counted for another chapter list: count again.
    return !m_counts.isEmpty() && m_counts.size() == m_reader.chapterCount();
}

void ReadingProgress::writeCounts(const QString &bookId, qint64 size, qint64 modified)
{
    if (m_counts.isEmpty())
        return;
    run(QStringLiteral("INSERT OR REPLACE INTO ChapterCharCounts(bookId, package_size, "
                       "package_mtime, counts) VALUES (?, ?, ?, ?)"),
        {bookId, size, modified, joined(m_counts)});
}

QList<qint64> ReadingProgress::countChapters(const QString &bookId, const QString &path)
{
    // A reader of its own, so the reading engine's open chapter stays as it is.
    // The pieces' lengths are all it needs: no text is read, so the first
    // open of a long book does not wait for all of it.
    VbpReader reader;
    reader.setAnalysisContent(false);
    auto info = std::make_unique<VRRBookInfo>();
    VRRBookInfo *book = info.get();
    VRBChaptersRelt *chapter = nullptr;
    if (reader.openVBP(bookId, path, chapter, book) != EerrorNot)
        return {};
    QList<qint64> counts;
    for (const auto &entry : info->m_caplist) {
        // A chapter that cannot be read holds no characters to page through.
        qint64 units = 0;
        if (reader.openChapterVBP(entry.m_id, chapter) == EerrorNot && chapter) {
            for (const auto &item : chapter->m_contentList)
                units += qMax(0, item->m_len) / 2; // UTF-16 code units
        }
        counts << units;
    }
    return counts;
}
