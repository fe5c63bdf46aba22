// Progress kept across restarts: a real library file in a temporary root,
// real packages on the shelf, the real reading engine paging through them.

#include "commondef.h"
#include "librarytestdb.h"
#include "mybookshelf.h"
#include "mybookshelfabstractmodel.h"
#include "readingprogress.h"
#include "testbooks.h"
#include "testdataroot.h"
#include "vebookreader.h"
#include "vorelebookdatabaseengine.h"
#include "vorelebookshelfmgr.h"

#include <QTest>
#include <memory>

namespace {

const QString BookId = QStringLiteral("progress1");

// Chapters without line ends: 15 characters a line, 300 a page.
TestChapters chaptersOf(const QList<int> &sizes)
{
    TestChapters chapters;
    for (int i = 0; i < sizes.size(); ++i)
        chapters.append({QStringLiteral("第%1章").arg(i + 1), QString(sizes.at(i), QChar(0x5b57))});
    return chapters;
}

QString packagePath()
{
    return UserBookFolder + "/" + BookId + ".vbp";
}

bool writeBook(const QList<int> &sizes)
{
    return writeTestBook(packagePath(), BookId, QStringLiteral("测试书"), QStringLiteral("某人"),
                         chaptersOf(sizes));
}

// One run of the program: the engines the view manager builds, on the file
// of the data root.
struct Session
{
    VorelEBookDatabaseEngine db;
    VEBookReader reader;
    VorelEBookShelfMgr shelfMgr;
    std::unique_ptr<MyBookShelf> shelf;
    std::unique_ptr<ReadingProgress> progress;

    Session()
    {
        VorelEBookDatabaseEngine *engine = &db;
        reader.SetDBEngine(engine);
        shelf = std::make_unique<MyBookShelf>(shelfMgr, reader);
        progress = std::make_unique<ReadingProgress>(reader, db);
    }

    // Opens the book at its stored position, as the reading screen does.
    bool open()
    {
        if (shelf->openBook(BookId, packagePath()) != 0 || reader.GetFirstPageContent() != 0)
            return false;
        progress->refresh();
        return true;
    }
    // Pages forward, then leaves the reading screen.
    void readAndLeave(int pages)
    {
        for (int i = 0; i < pages; ++i)
            reader.GetNextOnePageContent();
        reader.StartUpListView();
        progress->store();
    }
    // What the shelf shows for the book.
    QVariant shelfProgress()
    {
        shelf->updateBookList();
        const QModelIndexList found = shelf->shelfModel()->match(
            shelf->shelfModel()->index(0), MyBookShelfAbstractModel::BookIdRole, BookId, 1,
            Qt::MatchExactly);
        return found.isEmpty() ? QVariant()
                               : found.first().data(MyBookShelfAbstractModel::ReadProgressRole);
    }
};

} // namespace

class TestReadingProgress : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_root.renew()); }

    void progressAfterRestart_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("replacedFirst"); // the new first chapter's size, if replaced
        QTest::addColumn<int>("percentAfter");
        QTest::addColumn<int>("chapter");
        // Three chapters of 3000 characters: ten pages each.
        QTest::newRow("opened, not paged") << 0 << 0 << 3000 << 0 << 1;
        QTest::newRow("into the second chapter") << 12 << 40 << 3000 << 40 << 2;
        QTest::newRow("last page") << 29 << 100 << 3000 << 100 << 3;
        // The stored position stays (chapter 2, first page); the new package's
        // first chapter is shorter, so the same place is less of the book.
        QTest::newRow("package replaced") << 10 << 33 << 600 << 600 * 100 / 6600 << 2;
    }

    void progressAfterRestart()
    {
        QFETCH(int, pages);
        QFETCH(int, percent);
        QFETCH(int, replacedFirst);
        QFETCH(int, percentAfter);
        QFETCH(int, chapter);
        QVERIFY(writeBook({3000, 3000, 3000}));
        {
            Session first;
            QCOMPARE(first.shelfProgress(), QVariant(-1));
            QVERIFY(first.open());
            first.readAndLeave(pages);
            QCOMPARE(first.progress->percent(), percent);
        }
        if (replacedFirst != 3000)
            QVERIFY(writeBook({replacedFirst, 3000, 3000}));
        Session again;
        QCOMPARE(again.shelfProgress(), QVariant(percent));
        QVERIFY(again.open());
        QCOMPARE(again.progress->percent(), percentAfter);
        QCOMPARE(again.progress->chapter(), chapter);
        QCOMPARE(again.progress->chapterCount(), 3);
        again.readAndLeave(0);
        QCOMPARE(again.shelfProgress(), QVariant(percentAfter));
    }

    void removedBookTakesItsProgress()
    {
        QVERIFY(writeBook({3000, 3000}));
        Session session;
        QVERIFY(session.open());
        session.readAndLeave(3);
        QCOMPARE(rowsOf("ReadingProgress", BookId), 1);
        QCOMPARE(rowsOf("ChapterCharCounts", BookId), 1);
        QVERIFY(session.shelf->deleteBook(BookId, packagePath(),
                                          BookInfoFolder + "/" + BookId + ".png"));
        QCOMPARE(rowsOf("ReadingProgress", BookId), 0);
        QCOMPARE(rowsOf("ChapterCharCounts", BookId), 0);
    }

private:
    TestDataRoot m_root;
};

QTEST_MAIN(TestReadingProgress)
#include "tst_readingprogress.moc"
