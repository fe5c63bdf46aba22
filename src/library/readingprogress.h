#ifndef READINGPROGRESS_H
#define READINGPROGRESS_H

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QSqlDatabase;
class VEBookReader;
class VorelEBookDatabaseEngine;

// How far into the open book the reader is: the share of the book's
// characters before the current page, and the chapter out of the total.
// Kept per book in a table of our own in the library file, so the shelf can
// show it; a book's rows go with the book's shelf record. The characters of
// each chapter are counted once per package (size and time of change) and
// kept too, so opening a book never lays every chapter out.
class ReadingProgress : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int percent READ percent NOTIFY progressChanged)
    Q_PROPERTY(int chapter READ chapter NOTIFY progressChanged)
    Q_PROPERTY(int chapterCount READ chapterCount NOTIFY progressChanged)
public:
    ReadingProgress(VEBookReader &reader, VorelEBookDatabaseEngine &db, QObject *parent = nullptr);

    int percent() const { return percentOf(m_before, m_total); }
    int chapter() const { return m_chapter; }
    int chapterCount() const { return m_chapterCount; }

    // Takes the position from the reading engine (after a page is shown).
    Q_INVOKABLE void refresh();
    // Refreshes and keeps the position for the shelf; false when no book is
    // open or the library file refuses it.
    Q_INVOKABLE bool store();

    // Percent read of every book that has a kept position, by book id.
    static QHash<QString, int> storedPercentages();
    // Whole percent, rounded down; an empty book counts as unread.
    static int percentOf(qint64 before, qint64 total);

signals:
    void progressChanged();

private:
    // The character counts of the open book's chapters, counted anew when
    // the package is not the one they were counted from.
    bool loadCounts(const QString &bookId);
    bool readCounts(const QString &bookId, qint64 size, qint64 modified);
    void writeCounts(const QString &bookId, qint64 size, qint64 modified);
    static QList<qint64> countChapters(const QString &bookId, const QString &path);
    static void createTables(QSqlDatabase db);

    VEBookReader &m_reader;
    VorelEBookDatabaseEngine &m_db;
    QString m_countedBook;
    QString m_countedPath;
    qint64 m_countedSize = -1;
    qint64 m_countedModified = -1;
    QList<qint64> m_counts;
    qint64 m_before = 0;
    qint64 m_total = 0;
    int m_chapter = 0;
    int m_chapterCount = 0;
};

#endif // READINGPROGRESS_H
