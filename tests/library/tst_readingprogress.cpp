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
    void pageForward(int pages)
    {
        for (int i = 0; i < pages; ++i)
            reader.GetNextOnePageContent();
    }
    // Leaving the reading screen.
    void leave()
    {
        reader.StartUpListView();
        progress->store();
    }
    // What the shelf shows for the book.
    QVariant shelfProgress()
    {
        shelf->updateBookList();
        MyBookShelfAbstractModel *model = shelf->shelfModel();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row);
            if (model->data(index, MyBookShelfAbstractModel::BookIdRole) == BookId)
                return model->data(index, MyBookShelfAbstractModel::ReadProgressRole);
        }
        return QVariant();
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
        QTest::addColumn<int>("chapter");
        // Three chapters of 3000 characters: ten pages each.
        QTest::newRow("opened, not paged") << 0 << 0 << 1;
        QTest::newRow("into the second chapter") << 12 << 40 << 2;
        QTest::newRow("last page") << 29 << 100 << 3;
    }

    void progressAfterRestart()
    {
        QFETCH(int, pages);
        QFETCH(int, percent);
        QFETCH(int, chapter);
        QVERIFY(writeBook({3000, 3000, 3000}));
        {
            Session first;
            QCOMPARE(first.shelfProgress(), QVariant(-1));
            QVERIFY(first.open());
            first.pageForward(pages);
            first.leave();
            QCOMPARE(first.progress->percent(), percent);
        }
        Session again;
        QCOMPARE(again.shelfProgress(), QVariant(percent));
        QVERIFY(again.open());
        QCOMPARE(again.progress->percent(), percent);
        QCOMPARE(again.progress->chapter(), chapter);
        QCOMPARE(again.progress->chapterCount(), 3);
    }

    // The stored position stays (chapter 2, first page); the new package's
    // first chapter is shorter, so the same place is less of the book.
    void replacedPackageIsRecounted()
    {
        QVERIFY(writeBook({3000, 3000, 3000}));
        {
            Session first;
            QVERIFY(first.open());
            first.pageForward(10);
            first.leave();
            QCOMPARE(first.progress->percent(), 33);
        }
        QVERIFY(writeBook({600, 3000, 3000}));
        Session again;
        QVERIFY(again.open());
        QCOMPARE(again.progress->chapter(), 2);
        QCOMPARE(again.progress->percent(), 600 * 100 / 6600);
        again.leave();
        QCOMPARE(again.shelfProgress(), QVariant(600 * 100 / 6600));
    }

    void removedBookTakesItsProgress()
    {
        QVERIFY(writeBook({3000, 3000}));
        Session session;
        QVERIFY(session.open());
        session.pageForward(3);
        session.leave();
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
