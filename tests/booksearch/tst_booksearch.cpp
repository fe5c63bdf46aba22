// Searching a small made-up book chapter by chapter: hits in the first and
// last chapters, at chapter starts and ends, across text pieces, simplified
// and traditional forms finding each other, and new queries cancelling the
// running one. Each hit must land on the page the reading engine lays out.

#include "booksearchengine.h"
#include "booksearcher.h"
#include "chinesefolder.h"
#include "hitpagelocator.h"
#include "searchbook.h"
#include "testdataroot.h"
#include "vebookreader.h"

#include <QSignalSpy>
#include <QTest>

using Places = QList<QPoint>;

class TestBookSearch : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_root.renew());
        m_book = m_root.filePath("zr-searchbook.vbp");
        QVERIFY(BookPacker(SearchBook::source()).writeTo(m_book));
        QVERIFY(ChineseFolder::instance().hasChineseFolding());
    }

    void findsEveryHit_data()
    {
        using SearchBook::at;
        QTest::addColumn<QString>("query");
        QTest::addColumn<Places>("expected");

        // The first chapter ends with 长 and the second starts with 安: chapters
        // are separate texts, so that is no hit.
        const Places changan = {at(1, "长安"), at(2, "長安"), at(3, "长安", 0), at(3, "长安", 1),
                                at(4, "長安")};
        QTest::newRow("simplified finds both forms, first to last chapter") << "长安" << changan;
        QTest::newRow("traditional finds both forms") << "長安" << changan;
        const Places guxiang = {at(1, "故鄉"), at(2, "故乡", 0), at(2, "故鄉"), at(2, "故乡", 1)};
        QTest::newRow("故乡 finds 故鄉, several in one chapter") << "故乡" << guxiang;
        QTest::newRow("故鄉 finds 故乡") << "故鄉" << guxiang;
        QTest::newRow("start of a middle chapter") << "安定" << Places{at(2, "安定")};
        QTest::newRow("end of the first chapter") << "一字是长" << Places{at(1, "一字是长")};
        QTest::newRow("blanks around the word") << "  行人少 " << Places{at(2, "行人少")};
        QTest::newRow("no hit") << "无此一词" << Places{};
        QTest::newRow("empty query") << "" << Places{};
        QTest::newRow("blank query") << "   " << Places{};
    }

    void findsEveryHit()
    {
        QFETCH(QString, query);
        QFETCH(Places, expected);

        QList<BookSearchHit> hits;
        BookSearcher searcher([] { return false; },
                              [&hits](const QList<BookSearchHit> &found) { hits += found; });
        QCOMPARE(searcher.run("zr-searchbook", m_book, query), int(BookSearcher::Done));
        Places found;
        for (const BookSearchHit &hit : hits)
            found.append(QPoint(hit.chapterNum, int(hit.offset)));
        QCOMPARE(found, expected);

        for (const BookSearchHit &hit : hits) {
            const BookSource::Chapter chapter = SearchBook::chapters().at(hit.chapterNum - 1);
            QCOMPARE(hit.chapterName, chapter.title);
            // The snippet shows the book's own characters, the hit where marked.
            QCOMPARE(hit.snippet.mid(hit.markStart, hit.length),
                     chapter.text.mid(hit.offset, hit.length));
            QVERIFY(!hit.snippet.contains(QLatin1Char('\n')));
            verifyMarkedOnItsPage(hit);
        }
    }

    void newQueryCancelsRunningOne()
    {
        // The searcher looks for a new query inside a long chapter too, not only
        // between chapters.
        int looks = 0;
        BookSearcher counting([&looks] { return ++looks < 0; },
                              [](const QList<BookSearchHit> &) {});
        QCOMPARE(counting.run("zr-searchbook", m_book, "长安"), int(BookSearcher::Done));
        QVERIFY2(looks > SearchBook::chapters().size(), qPrintable(QString::number(looks)));

        // A new query arriving after the first chapter's hits stops the search.
        bool newQuery = false;
        QList<BookSearchHit> hits;
        BookSearcher stopped([&newQuery] { return newQuery; },
                             [&](const QList<BookSearchHit> &found) {
                                 hits += found;
                                 newQuery = true;
                             });
        QCOMPARE(stopped.run("zr-searchbook", m_book, "长安"), int(BookSearcher::Stopped));
        QCOMPARE(hits.size(), 1);
        QCOMPARE(hits.first().chapterNum, 1);

        // Off the GUI thread: the second query's hits are complete and tagged
        // with its number, so whatever the first one still sends can be told
        // apart and dropped.
        BookSearchEngine engine;
        QSignalSpy found(&engine, &BookSearchEngine::hitsFound);
        QSignalSpy finished(&engine, &BookSearchEngine::searchFinished);
        const quint64 first = engine.start("zr-searchbook", m_book, "故乡");
        const quint64 second = engine.start("zr-searchbook", m_book, "长安");
        QVERIFY(second != first);
        QVERIFY(engine.waitForIdle(30000));
        QTRY_VERIFY(!finished.isEmpty() && finished.last().at(0).toULongLong() == second);
        QCOMPARE(finished.last().at(1).toInt(), int(BookSearcher::Done));
        Places secondHits;
        for (const QList<QVariant> &signal : std::as_const(found)) {
            if (signal.at(0).toULongLong() != second)
                continue;
            for (const BookSearchHit &hit : signal.at(1).value<QList<BookSearchHit>>())
                secondHits.append(QPoint(hit.chapterNum, int(hit.offset)));
        }
        QCOMPARE(secondHits.size(), 5);
        QCOMPARE(secondHits.last(), SearchBook::at(4, "長安"));
    }

private:
    static void verifyMarkedOnItsPage(const BookSearchHit &hit)
    {
        const QString text = SearchBook::chapters().at(hit.chapterNum - 1).text;
        const HitPageLocator locator(text);
        const int page = locator.pageOf(hit.offset);
        const QList<QStringList> pages = VEBookReader::LayoutPages(text);
        QVERIFY(page >= 0 && page < pages.size());
        QString marked;
        for (const HitPageLocator::Mark &mark : locator.marksOnPage(page, hit.offset, hit.length))
            marked += pages.at(page).at(mark.line).mid(mark.column, mark.length);
        // A hit running onto the next page is marked up to the page's end.
        QVERIFY2(!marked.isEmpty() && text.mid(hit.offset, hit.length).startsWith(marked),
                 qPrintable(marked));
    }

    TestDataRoot m_root;
    QString m_book;
};

QTEST_GUILESS_MAIN(TestBookSearch)
#include "tst_booksearch.moc"
