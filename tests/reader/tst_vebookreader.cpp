// The reading engine against real packages and a real library database.

#include "commondef.h"
#include "indexandmarkviewlistmodel.h"
#include "testbooks.h"
#include "vebookreader.h"
#include "vorelebookdatabaseengine.h"

#include <QDate>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using Pages = QList<QStringList>;

class TestVEBookReader : public QObject
{
    Q_OBJECT

    QString bookPath(const QString &id) const { return m_root.path() + "/books/" + id + ".vbp"; }
    int open(const QString &id) const { return m_reader->OpenOneBook(id, bookPath(id)); }
    // Opens and shows the stored (or first) page.
    bool openAt(const QString &id) const
    {
        return open(id) == 0 && m_reader->GetFirstPageContent() == 0;
    }
    // Lists the book on the shelf, as a copy of the three-chapter book unless
    // the test writes its own package.
    void shelve(const QString &id, bool copy = true)
    {
        QVERIFY(!copy || QFile::copy(bookPath("three"), bookPath(id)));
        VorelEBookItemData row;
        row.m_bookId = id;
        row.m_bookStorePath = bookPath(id);
        QVERIFY(m_db->AddEBookInfo(row));
    }
    // "chapter/page/first line" of what is shown.
    QString where() const
    {
        return QStringLiteral("%1/%2/%3")
            .arg(m_reader->currentChapterNum())
            .arg(m_reader->currentPageNum())
            .arg(m_reader->GetOneLineContent(0));
    }
    // "chapter id/page" stored in the library, empty when it cannot be read.
    QString positionOf(const QString &id) const
    {
        VorelEBookChapterItemData stored;
        if (!m_db->GetBookChapterMark(id, stored))
            return QString();
        return stored.m_bookChapterId + '/' + QString::number(stored.m_bookReadingPageNum);
    }
    static QString tagId() { return QString(QTest::currentDataTag()).replace(' ', '_'); }
    void restartEngines()
    {
        m_reader.reset();
        m_db = std::make_unique<VorelEBookDatabaseEngine>();
        m_reader = std::make_unique<VEBookReader>();
        VorelEBookDatabaseEngine *db = m_db.get();
        m_reader->SetDBEngine(db);
    }

    QTemporaryDir m_root;
    std::unique_ptr<VorelEBookDatabaseEngine> m_db;
    std::unique_ptr<VEBookReader> m_reader;

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("ZARVOREADER_ROOT", m_root.path().toLocal8Bit());
        QVERIFY(QDir().mkpath(BookInfoFolder));
        restartEngines();
        // Chapters of 25, 21 and 45 lines: 2, 2 and 3 pages.
        QVERIFY(writeTestBook(bookPath("three"), "three", "Three", "Author",
                              {{"One", numberedLines("1", 25)},
                               {"Two", numberedLines("2", 21)},
                               {"Three", numberedLines("3", 45)}}));
    }

    void layout_data()
    {
        QTest::addColumn<QByteArray>("chapter");
        QTest::addColumn<Pages>("pages");

        auto packed = [](const QString &text) { return BookPacker::chapterPackage("c0001", text); };
        const QString fifteen = QStringLiteral("abcdefghijklmno");
        const QString pair = QString::fromUcs4(U"\U00020000");
        const QStringList fullPage(20, QString(15, 'a'));

        QTest::newRow("exactly 15") << packed(fifteen) << Pages{{fifteen}};
        QTest::newRow("16 wraps") << packed(fifteen + "p") << Pages{{fifteen, "p"}};
        QTest::newRow("15 then newline") << packed(fifteen + "\nxy") << Pages{{fifteen, "", "xy"}};
        QTest::newRow("empty line kept") << packed("abc\n\ndef") << Pages{{"abc", "", "def"}};
        QTest::newRow("trailing newline") << packed("abc\n") << Pages{{"abc"}};
        // A carriage return takes no room on the line.
        QTest::newRow("14 then crlf")
            << packed(fifteen.left(14) + "\r\nz") << Pages{{fifteen.left(14), "z"}};
        QTest::newRow("300 chars") << packed(QString(300, 'a')) << Pages{fullPage};
        QTest::newRow("301 chars") << packed(QString(301, 'a')) << Pages{fullPage, {"a"}};
        QTest::newRow("full page then newline")
            << packed(QString(300, 'a') + "\n") << Pages{fullPage, {""}};
        // A character outside the basic plane is one character and never split.
        QTest::newRow("surrogate pairs")
            << packed(pair.repeated(16)) << Pages{{pair.repeated(15), pair}};
        QTest::newRow("pair at line end")
            << packed(QString(14, 'a') + pair + "b") << Pages{{QString(14, 'a') + pair, "b"}};
        // Long runs are scanned in bulk; whatever stands inside them still counts right.
        QTest::newRow("return inside a long run")
            << packed(QString(14, 'a') + "\r" + QString(20, 'b'))
            << Pages{{QString(14, 'a') + "b", QString(15, 'b'), "bbbb"}};
        QTest::newRow("newline after a long run")
            << packed(QString(20, 'a') + "\n" + QString(3, 'b'))
            << Pages{{QString(15, 'a'), QString(5, 'a'), "bbb"}};
        QTest::newRow("tab and lone half pair count")
            << packed("\t" + QString(QChar(0xDC00)) + QString(30, 'a'))
            << Pages{{"\t" + QString(QChar(0xDC00)) + QString(13, 'a'), QString(15, 'a'), "aa"}};
        QTest::newRow("pair inside a long run")
            << packed(QString(10, 'a') + pair + QString(10, 'b'))
            << Pages{{QString(10, 'a') + pair + "bbbb", QString(6, 'b')}};
        QTest::newRow("no text pieces")
            << rawChapterPackage("<chapter></chapter>", QByteArray("a\0", 2)) << Pages{{"  "}};
        // "abc" in UTF-16LE is 6 bytes; a piece of 5 bytes shows its 2 whole units.
        QTest::newRow("odd piece length")
            << rawChapterPackage(
                   "<chapter><text href=\"content.txt\" offset=\"0\" length=\"5\"/></chapter>",
                   QByteArray("a\0b\0c\0", 6))
            << Pages{{"ab"}};
    }

    void layout()
    {
        QFETCH(QByteArray, chapter);
        QFETCH(Pages, pages);

        const QString id = tagId();
        QVERIFY(writeFile(bookPath(id), rawBook({"Only"}, {chapter})));
        QVERIFY(openAt(id));
        QCOMPARE(m_reader->chapterPageCount(), pages.size());
        for (int p = 0; p < pages.size(); ++p) {
            // Short pages are padded with lines of three blanks.
            QStringList expected = pages.at(p);
            while (expected.size() < VEBookReader::PageLines)
                expected.append(QStringLiteral("   "));
            QStringList shown;
            for (int i = 0; i < VEBookReader::PageLines; ++i)
                shown.append(m_reader->GetOneLineContent(i));
            QCOMPARE(shown, expected);
            QCOMPARE(m_reader->IsTheLastPage(), p == pages.size() - 1);
            QCOMPARE(m_reader->GetNextOnePageContent() == 0, p < pages.size() - 1);
        }
    }

    void pagingAcrossChapters()
    {
        shelve("paging");
        QVERIFY(openAt("paging"));
        QCOMPARE(m_reader->chapterCount(), 3);
        const QStringList path = {"1/0/1-01", "1/1/1-21", "2/0/2-01", "2/1/2-21",
                                  "3/0/3-01", "3/1/3-21", "3/2/3-41"};
        for (int i = 0; i < path.size(); ++i) {
            QCOMPARE(where(), path.at(i));
            QCOMPARE(m_reader->IsTheFistPage(), i == 0);
            QCOMPARE(m_reader->IsTheLastPage(), i == path.size() - 1);
            if (i + 1 < path.size())
                QCOMPARE(m_reader->GetNextOnePageContent(), 0);
        }
        // Past the last page: refused, nothing moves, the book is not broken.
        QVERIFY(m_reader->GetNextOnePageContent() != 0);
        QCOMPARE(where(), path.last());
        QCOMPARE(m_reader->GetOneLineContent(4), QStringLiteral("3-45"));
        // Backward, landing on the last page of each previous chapter.
        for (int i = int(path.size()) - 2; i >= 0; --i) {
            QCOMPARE(m_reader->GetPreOnePageContent(), 0);
            QCOMPARE(where(), path.at(i));
        }
        QVERIFY(m_reader->GetPreOnePageContent() != 0);
        QCOMPARE(where(), path.first());
        QVERIFY(m_db->isBookIdExisted("paging"));
    }

    void replacedPackageSeen()
    {
        // The same layout with other words: the next chapter comes from the
        // package the path names now, not from the one opened.
        shelve("swapped");
        QVERIFY(openAt("swapped"));
        const QString other = m_root.path() + "/books/other.vbp";
        QVERIFY(writeTestBook(other, "three", "Three", "Author",
                              {{"One", numberedLines("4", 25)},
                               {"Two", numberedLines("5", 21)},
                               {"Three", numberedLines("6", 45)}}));
        QVERIFY(std::rename(QFile::encodeName(other).constData(),
                            QFile::encodeName(bookPath("swapped")).constData()) == 0);
        QCOMPARE(m_reader->GetNextOnePageContent(), 0);
        QCOMPARE(m_reader->GetNextOnePageContent(), 0);
        QCOMPARE(where(), QStringLiteral("2/0/5-01"));
        // Opened again, the book is the new package from its first chapter on.
        QVERIFY(open("swapped") == 0 && m_reader->GetFirstPageContent() == 0);
        QCOMPARE(m_reader->GetOneLineContent(0).left(2), QStringLiteral("4-"));
    }

    void chapterOutsideBook_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("before first") << -1;
        QTest::newRow("one past last") << 3;
    }

    void chapterOutsideBook()
    {
        QFETCH(int, row);
        QVERIFY(openAt("three"));
        QCOMPARE(m_reader->GetNextOnePageContent(), 0);
        QVERIFY(m_reader->GetInfomationFromChapter(QString(), row) != 0);
        QCOMPARE(where(), "1/1/1-21");
        for (int line : {-1, 20, 1000})
            QCOMPARE(m_reader->GetOneLineContent(line), QStringLiteral("  "));
        // The next page still follows the page shown.
        QCOMPARE(m_reader->GetNextOnePageContent(), 0);
        QCOMPARE(where(), "2/0/2-01");
    }

    void brokenBookLeavesLibrary_data()
    {
        QTest::addColumn<QByteArray>("package");
        QTest::addColumn<int>("opened");
        QTest::newRow("garbage") << QByteArray(200, 'z') << int(EFileTypeError);
        QTest::newRow("no chapters")
            << rawBook({}, {}, R"(<vb ret="0" title="Empty"><keys><author>A</author></keys></vb>)")
            << int(EFileNumError);
    }

    void brokenBookLeavesLibrary()
    {
        QFETCH(QByteArray, package);
        const QString id = tagId();
        shelve(id, false);
        QVERIFY(m_db->AddEBookChapterInfo(id, VorelEBookChapterItemData("c0001", 0, "One")));
        QVERIFY(writeFile(bookPath(id), package));
        QTEST(open(id), "opened");
        QVERIFY(m_reader->GetFirstPageContent() != 0);
        QVERIFY(m_reader->GetNextOnePageContent() != 0);
        QVERIFY(m_reader->GetPreOnePageContent() != 0);
        QVERIFY(!m_reader->SaveBookMrak());
        QVERIFY(!m_reader->StartUpListView());
        // Nothing to read: the book, its position and its marks leave the
        // library; the package file itself stays.
        QVERIFY(!m_db->isBookIdExisted(id));
        int positions = -1, marks = -1;
        QVERIFY(m_db->GetBookChapterMarkCount(id, positions));
        QVERIFY(m_db->GetMarkRelationCount(id, "c0001", 0, marks));
        QCOMPARE(positions + marks, 0);
        QVERIFY(QFile::exists(bookPath(id)));
    }

    void passingFailureKeepsBook_data()
    {
        QTest::addColumn<QByteArray>("broken"); // empty: no file at all
        QTest::addColumn<int>("opened");
        QTest::addColumn<int>("paged"); // the next page, once open

        const QByteArray one = BookPacker::chapterPackage("c0001", numberedLines("1", 25));
        const QByteArray two = BookPacker::chapterPackage("c0002", numberedLines("2", 21));
        QFile three(bookPath("three"));
        QVERIFY(three.open(QIODevice::ReadOnly));
        QTest::newRow("file missing") << QByteArray() << int(EopenVbpFileError) << 0;
        QTest::newRow("file being copied over") << three.read(100) << int(EFileSizeError) << 0;
        QTest::newRow("later chapter missing")
            << rawBook({"One", "Two", "Three"}, {one, two}) << 0 << int(EFileNumError);
        QTest::newRow("later chapter damaged")
            << rawBook({"One", "Two", "Three"}, {one, two, QByteArray(64, 'z')}) << 0
            << int(EopenVbpFileError);
        QTest::newRow("first chapter damaged")
            << rawBook({"One", "Two"}, {QByteArray(64, 'z'), two}) << int(EopenVbpFileError) << 0;
    }

    void passingFailureKeepsBook()
    {
        QFETCH(QByteArray, broken);
        QFETCH(int, opened);
        QFETCH(int, paged);

        const QString id = tagId();
        shelve(id);
        QVERIFY(m_db->AddEBookChapterInfo(id, VorelEBookChapterItemData("c0002", 1, "Two")));
        QVERIFY(m_db->AddMarkRelation(
            {id, "Three", "c0001", 0, "One", 1, "mark", QDateTime::currentDateTime()}));
        QVERIFY(QFile::remove(bookPath(id)));
        QVERIFY(broken.isEmpty() || writeFile(bookPath(id), broken));

        QCOMPARE(open(id), opened);
        if (opened == 0) {
            QCOMPARE(m_reader->GetFirstPageContent(), 0);
            QCOMPARE(m_reader->GetNextOnePageContent(), paged);
            QCOMPARE(where(), "2/1/2-21");
        }
        // Closing stores the position still shown, or nothing when no book opened.
        QCOMPARE(m_reader->StartUpListView(), opened == 0);

        // The book, its position and its mark wait for the file to come back.
        QVERIFY(QFile::remove(bookPath(id)) || broken.isEmpty());
        QVERIFY(QFile::copy(bookPath("three"), bookPath(id)));
        QVERIFY(m_db->isBookIdExisted(id));
        QVERIFY(openAt(id));
        QCOMPARE(where(), "2/1/2-21");
        QVERIFY(m_reader->GetBookmarkList());
        QCOMPARE(m_reader->listModel()->rowCount(), 1);
    }

    void noPositionWithoutBook()
    {
        // A package never taken into the library (one removed as malformed is
        // in brokenBookLeavesLibrary).
        QVERIFY(QFile::copy(bookPath("three"), bookPath("unlisted")));
        QVERIFY(openAt("unlisted"));
        QVERIFY(!m_reader->StartUpListView());
        QCOMPARE(m_reader->ResetBookInfo("unlisted"), int(EFileNotExist));
        QVERIFY(!m_db->UpdateReadingDateByBookId("unlisted", QDateTime::currentDateTime()));
        int positions = -1;
        QVERIFY(m_db->GetBookChapterMarkCount("unlisted", positions));
        QCOMPARE(positions, 0);
    }

    void positionSurvivesRestart()
    {
        shelve("restart");
        QVERIFY(openAt("restart"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m_reader->GetNextOnePageContent(), 0);
        QVERIFY(m_reader->SaveBookMrak());
        QVERIFY(m_reader->StartUpListView());
        QCOMPARE(m_reader->listModel()->getCurrentIndex(), 1);
        VorelEBookItemData row;
        QVERIFY(m_db->GetBookProperty("restart", row));
        QVERIFY(row.m_lastReadingDate > 0);

        restartEngines();
        QVERIFY(openAt("restart"));
        QCOMPARE(where(), "2/1/2-21");
        // Off to the first chapter, then back through the bookmark list.
        QVERIFY(m_reader->GetChapterList());
        QCOMPARE(m_reader->GetInfomationFromChapter(QString(), 0), 0);
        QCOMPARE(m_reader->GetFirstPageContent(), 0);
        QCOMPARE(where(), "1/0/1-01");
        QVERIFY(m_reader->GetBookmarkList());
        QVERIFY(!m_reader->GetInfomationFromBookMark(1));
        QVERIFY(m_reader->GetInfomationFromBookMark(0));
        QCOMPARE(m_reader->GetFirstPageContent(), 0);
        QCOMPARE(where(), "2/1/2-21");
        QVERIFY(m_reader->IsBookMark());
        // The chapter list remembers where the reader was; going back restores it.
        QVERIFY(m_reader->GetChapterList());
        QCOMPARE(m_reader->GetInfomationFromChapter(QString(), 0), 0);
        m_reader->SetPreChapterNum();
        QCOMPARE(m_reader->GetNextOnePageContent(), 0);
        QCOMPARE(where(), "3/0/3-01");

        // Leaving again stores the same single row, updated.
        QVERIFY(m_reader->StartUpListView());
        int count = 0;
        QVERIFY(m_db->GetBookChapterMarkCount("restart", count));
        QCOMPARE(count, 1);
        QCOMPARE(positionOf("restart"), "c0003/0");
    }

    void positionLookupLeavesDatabaseFree()
    {
        // Opening a book looks its position up with a statement kept from one
        // open to the next.
        shelve("kept");
        QVERIFY(m_db->AddEBookChapterInfo("kept", VorelEBookChapterItemData("c0002", 1, "Two")));
        QVERIFY(openAt("kept"));
        QCOMPARE(where(), "2/1/2-21");
        {
            // It holds no lock once the book is open: another connection may
            // take the whole file at once.
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
            other.setDatabaseName(DbFolder + "/BookDB.db");
            other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
            QVERIFY(other.open());
            QSqlQuery exclusive(other);
            QVERIFY(exclusive.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QVERIFY(exclusive.exec(QStringLiteral("COMMIT")));
        }
        QSqlDatabase::removeDatabase("other");

        // The shared connection closed and opened again ends the kept statement;
        // the next open still finds the position.
        QSqlDatabase::database(QStringLiteral("EBookDB"), false).close();
        VorelEBookDatabaseEngine reopening;
        QVERIFY(openAt("kept"));
        QCOMPARE(where(), "2/1/2-21");
    }

    void storedPosition_data()
    {
        QTest::addColumn<QString>("chapterId");
        QTest::addColumn<int>("pageNum");
        QTest::addColumn<QString>("shown");

        QTest::newRow("stored chapter") << "c0003" << 2 << "3/2/3-41";
        QTest::newRow("unknown chapter keeps page") << "gone" << 1 << "1/1/1-21";
        QTest::newRow("page beyond chapter") << "c0002" << 99 << "2/1/2-21";
        QTest::newRow("negative page") << "c0002" << -5 << "2/0/2-01";
    }

    void storedPosition()
    {
        QFETCH(QString, chapterId);
        QFETCH(int, pageNum);
        const QString id = tagId();
        QVERIFY(QFile::copy(bookPath("three"), bookPath(id)));
        QVERIFY(m_db->AddEBookChapterInfo(id, VorelEBookChapterItemData(chapterId, pageNum, "x")));
        QVERIFY(openAt(id));
        QTEST(where(), "shown");
    }

    void bookmarks()
    {
        const QString firstPage = QStringLiteral("\n  \n  It's \"here\"  \nsecond\n");
        QVERIFY(writeTestBook(bookPath("marks"), "marks", "O'Brien \"Marks\"", "A",
                              {{"One", firstPage + numberedLines("1", 30)}, {"Two", "two"}}));
        QVERIFY(openAt("marks"));
        QVERIFY(!m_reader->IsBookMark());
        QVERIFY(m_reader->SaveBookMrak());
        QVERIFY(m_reader->IsBookMark());
        QCOMPARE(m_reader->GetNextOnePageContent(), 0);
        QVERIFY(!m_reader->IsBookMark());
        QVERIFY(m_reader->SaveBookMrak());
        // The second toggle on the same page removes the mark again.
        QCOMPARE(m_reader->GetNextOnePageContent(), 0);
        QVERIFY(m_reader->SaveBookMrak());
        QVERIFY(!m_reader->SaveBookMrak());
        QVERIFY(!m_reader->IsBookMark());

        QVERIFY(m_reader->GetBookmarkList());
        indexAndMarkViewListModel *list = m_reader->listModel();
        const auto rowText = [list](int i) {
            return list->data(list->index(i), indexAndMarkViewListModel::MenuTextRole).toString();
        };
        QStringList contents;
        for (int i = 0; i < list->rowCount(); ++i) {
            QCOMPARE(list->retDate(rowText(i)), QDate::currentDate().toString("yyyy-MM-dd"));
            contents.append(list->retCon(rowText(i)));
        }
        contents.sort();
        QCOMPARE(contents, QStringList({"   1-16", "   It's \"here\""}));
        QList<VorelEBookMarkRelationItem> stored;
        QVERIFY(m_db->GetMarkRelationInfo("marks", stored));
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored.first().m_bookName, QStringLiteral("O'Brien \"Marks\""));

        QVERIFY(!m_reader->DeleteOneBookMark(2));
        const QString removed = rowText(0);
        QVERIFY(m_reader->DeleteOneBookMark(0));
        QCOMPARE(list->rowCount(), 1);
        QVERIFY(rowText(0) != removed);
        stored.clear();
        QVERIFY(m_db->GetMarkRelationInfo("marks", stored));
        QCOMPARE(stored.size(), 1);
    }

    void otherPackagesLeaveOpenBookAlone()
    {
        QVERIFY(writeTestBook(bookPath("other"), "other", "Other", "Someone",
                              {{"Else", "else"}, {"More", "more"}, {"Last", "last"}}));
        shelve("other", false);
        QVERIFY(m_db->AddEBookChapterInfo("other", VorelEBookChapterItemData("c0003", 4, "Last")));
        QVERIFY(openAt("three"));
        QCOMPARE(m_reader->GetNextOnePageContent(), 0);

        // A package taken in and a position reset while a book is open.
        QString name, icon, author;
        uint size = 0;
        QCOMPARE(
            m_reader->GetDownLoadBookInfo("other", bookPath("other"), name, icon, author, size), 0);
        QCOMPARE(m_reader->ResetBookInfo("other"), 0);
        QCOMPARE(positionOf("other"), "c0001/0");
        // The open book reads on as before.
        QCOMPARE(m_reader->GetNextOnePageContent(), 0);
        QCOMPARE(where(), "2/0/2-01");
        QCOMPARE(m_reader->listModel()->getBookName(), QStringLiteral("Three"));

        // Nothing of one book's description carries over to the next.
        QVERIFY(writeFile(
            bookPath("bare"),
            rawBook({}, {BookPacker::chapterPackage("c0001", "b")},
                    R"(<vb><chapters><item c="1" id="c0001">One</item></chapters></vb>)")));
        QCOMPARE(open("bare"), 0);
        QCOMPARE(m_reader->listModel()->getBookName(), QString());
    }

    void registersForScreens()
    {
        QQuickView view;
        {
            VEBookReader reader; // no book yet
            QCOMPARE(reader.GetFirstPageContent(), 1);
            QVERIFY(!reader.StartUpListView());
            reader.setDeclarativeView(view);
            QQmlComponent component(view.engine());
            component.setData(
                "import QtQml\n"
                "QtObject {\n"
                "  property string line: bookreader.GetOneLineContent(0)\n"
                "  property int rows: listItemModel.listcount\n"
                "  property int opened: bookreader.OpenOneBook('x', '/nonexistent.vbp')\n"
                "}\n",
                QUrl());
            std::unique_ptr<QObject> object(component.create(view.rootContext()));
            QVERIFY2(object, qPrintable(component.errorString()));
            QCOMPARE(object->property("line").toString(), QStringLiteral("  "));
            QCOMPARE(object->property("rows").toInt(), 0);
            QCOMPARE(object->property("opened").toInt(), int(EopenVbpFileError));
        }
        // Gone with the engine.
        QVERIFY(!view.rootContext()->contextProperty("bookreader").value<QObject *>());
        QVERIFY(!view.rootContext()->contextProperty("listItemModel").value<QObject *>());
    }
};

QTEST_MAIN(TestVEBookReader)
#include "tst_vebookreader.moc"
