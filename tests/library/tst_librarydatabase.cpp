#include "librarytestdb.h"
#include "testdataroot.h"
#include "vorelebookdatabaseengine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <memory>

namespace {

VorelEBookItemData book(const QString &id, int flag, uint downloaded, uint read,
                        const QString &name = "name", const QString &author = "author")
{
    VorelEBookItemData item(id, read, downloaded, name, "/covers/" + id);
    item.m_bookMarkFlag = flag;
    item.m_bookSize = 321;
    item.m_bookAuthor = author;
    item.m_bookStorePath = "/books/" + id + ".vbp";
    return item;
}

QStringList ids(const QList<VorelEBookItemData> &books)
{
    QStringList result;
    for (const VorelEBookItemData &b : books)
        result << b.m_bookId;
    return result;
}

// Every stored field of a bookmark in one line, so a round trip is one compare.
QString fields(const VorelEBookMarkRelationItem &m)
{
    return QStringList{m.m_bookId,          m.m_bookName,
                       m.m_bookChapterId,   QString::number(m.m_bookReadingPageNum),
                       m.m_bookChapterName, QString::number(m.m_chapterpageNum),
                       m.m_bookMarkDes,     m.m_bookMarkDate.toString(Qt::ISODate)}
        .join('|');
}

} // namespace

class TestLibraryDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_root.renew()); } // a fresh device for every test

    void freshDeviceHasFiveTables()
    {
        QVERIFY(!QDir(DbFolder).exists());
        VorelEBookDatabaseEngine engine;
        QStringList tables = rawColumn("SELECT name FROM sqlite_master WHERE type = 'table'");
        tables.sort();
        QCOMPARE(tables, QStringList({"BookMarkRelation", "BookSortState", "DBBookContentTable",
                                      "DBBookTable", "DBUserTable"}));
        QList<VorelEBookItemData> books;
        QVERIFY(engine.GetBookInformation(books));
        QVERIFY(books.isEmpty());
    }

    void secondEngineSharesTheConnection()
    {
        auto first = std::make_unique<VorelEBookDatabaseEngine>();
        VorelEBookDatabaseEngine second;
        QVERIFY(first->AddEBookInfo(book("b1", 0, 0, 0)));
        QVERIFY(!second.AddEBookInfo(book("b1", 0, 0, 0)));
        // One engine going away must not cut off the other.
        first.reset();
        QVERIFY(second.isBookIdExisted("b1"));
    }

    void storageClasses_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("type");
        const char *const groups[][3] = {
            {"DBBookTable", "bookid bookname bookAuthor bookSize bookIcon bookPath bookMark",
             "text"},
            {"DBBookTable", "bookDownloadingDate bookReadingDate", "integer"},
            {"DBBookContentTable", "bookid bookChapterId bookChapterName bookReadingPageNum",
             "text"},
            {"BookSortState", "stateid sortType", "integer"},
            {"BookMarkRelation",
             "bookid bookname chapterid chaptername pagenum chapterpagenum "
             "bookMarkDate bookMarkDescription",
             "text"},
            {"DBUserTable", "userid", "integer"},
        };
        for (const auto &group : groups) {
            for (const QString &column : QString(group[1]).split(' '))
                QTest::addRow("%s.%s", group[0], qPrintable(column))
                    << group[0] << column << group[2];
        }
    }

    void storageClasses()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, type);
        VorelEBookDatabaseEngine engine;
        // Empty strings must still be stored as text, not NULL.
        VorelEBookItemData item = book("b1", 1, 100, 0, QString(), QString());
        QVERIFY(engine.AddEBookInfo(item));
        QVERIFY(engine.UpdateEBookInfo("b1", item));
        QVERIFY(engine.UpdateReadingDateByBookId("b1", QDateTime::currentDateTime()));
        QVERIFY(engine.AddEBookChapterInfo("b1", VorelEBookChapterItemData()));
        QVERIFY(engine.UpdateBookChapterMark("b1", VorelEBookChapterItemData("c1", 3, "One")));
        VorelEBookMarkRelationItem mark;
        mark.m_bookId = "b1";
        mark.m_bookMarkDate = QDateTime::currentDateTime();
        QVERIFY(engine.AddMarkRelation(mark));
        QVERIFY(engine.AddBookSortState(0, 0));
        QVERIFY(engine.UpdateBookSortState(0, 2));
        QVERIFY(engine.AddUserIdToDB("1234567"));
        QVERIFY(engine.UpdateUserIdFromDB("1234567", "7654321"));
        QCOMPARE(rawColumn(QString("SELECT typeof(%1) FROM %2").arg(column, table)),
                 QStringList(type));
    }

    void listings_data()
    {
        QTest::addColumn<int>("sortState");
        QTest::addColumn<QString>("listing");
        QTest::addColumn<QStringList>("expected");
        // new books newest download first, read books latest first, the rest by id
        const QStringList byDefault = {"new200", "new100", "read300", "read50", "a", "b"};
        QTest::newRow("default") << 0 << "default" << byDefault;
        QTest::newRow("unknown state") << 7 << "default" << byDefault;
        QTest::newRow("by id") << 0 << "id" << byDefault;
        QTest::newRow("by author")
            << 1 << "default" << QStringList{"b", "a", "read50", "read300", "new100", "new200"};
        QTest::newRow("by name") << 2 << "default"
                                 << QStringList{"new200", "new100", "read300", "read50", "b", "a"};
        // Books with equal dates have no defined order among themselves: only
        // those with distinct dates are compared.
        QTest::newRow("by reading date") << 0 << "reading" << QStringList{"read50", "read300"};
        QTest::newRow("by download date")
            << 0 << "download" << QStringList{"read50", "read300", "new100", "new200"};
    }

    void listings()
    {
        QFETCH(int, sortState);
        QFETCH(QString, listing);
        QFETCH(QStringList, expected);
        VorelEBookDatabaseEngine engine;
        // Authors and names chosen so each order differs from the others.
        QVERIFY(engine.AddEBookInfo(book("b", 0, 0, 0, "N1", "A6")));
        QVERIFY(engine.AddEBookInfo(book("read50", 0, 10, 50, "N3", "A4")));
        QVERIFY(engine.AddEBookInfo(book("new100", 1, 100, 0, "N5", "A2")));
        QVERIFY(engine.AddEBookInfo(book("a", 0, 0, 0, "N0", "A5")));
        QVERIFY(engine.AddEBookInfo(book("new200", 1, 200, 0, "N6", "A1")));
        QVERIFY(engine.AddEBookInfo(book("read300", 0, 20, 300, "N4", "A3")));
        QVERIFY(engine.AddBookSortState(0, sortState));

        QList<VorelEBookItemData> books;
        if (listing == "default")
            QVERIFY(engine.GetBookInformation(books));
        else if (listing == "id")
            QVERIFY(engine.SelectEBookInfoById(books));
        else if (listing == "reading")
            QVERIFY(engine.SelectEBookInfoByReadingDate(books));
        else
            QVERIFY(engine.SelectEBookInfoByDownloadingDate(books));
        QCOMPARE(books.size(), 6);
        QStringList listed = ids(books);
        listed.removeIf([&](const QString &id) { return !expected.contains(id); });
        QCOMPARE(listed, expected);
        // Each column lands in its own field.
        const VorelEBookItemData &r = books.at(ids(books).indexOf("read300"));
        QCOMPARE(QString("%1 %2 %3 %4 %5 %6")
                     .arg(r.m_lastReadingDate)
                     .arg(r.m_downLoadingDate)
                     .arg(r.m_bookSize)
                     .arg(r.m_bookAuthor, r.m_bookStorePath, r.m_bookIconPath),
                 "300 20 321 A3 /books/read300.vbp /covers/read300");
    }

    void newFlagFromSetterIsListed()
    {
        VorelEBookDatabaseEngine engine;
        QVERIFY(engine.AddEBookInfo(book("a", 0, 0, 0)));
        QVERIFY(engine.AddEBookInfo(book("b", 0, 0, 0)));
        QVERIFY(engine.setNewiconFlagToDB("b", 1));
        QList<VorelEBookItemData> books;
        QVERIFY(engine.SelectEBookInfoByDefault(books));
        QCOMPARE(ids(books), QStringList({"b", "a"}));
        QCOMPARE(books.first().m_bookMarkFlag, 1);
    }

    // Dates are stored as dotted text; counting and deleting by book are in hostileText.
    void bookmarkDateTextAndRoundTrip()
    {
        VorelEBookDatabaseEngine engine;
        const QDateTime older(QDate(2011, 3, 7), QTime(14, 5, 9));
        const QDateTime newer(QDate(2012, 11, 20), QTime(8, 0, 0));
        const VorelEBookMarkRelationItem first("b1", "Book", "c2", 4, "Two", 2, "begins", older);
        QVERIFY(engine.AddMarkRelation(first));
        QVERIFY(engine.AddMarkRelation({"b1", "Book", "c2", 4, "Two", 2, "again", newer}));
        QVERIFY(engine.AddMarkRelation({"b2", "Other", "c2", 4, "Two", 2, "other", older}));
        QCOMPARE(rawColumn("SELECT bookMarkDate FROM BookMarkRelation WHERE bookid = 'b1' "
                           "ORDER BY bookMarkDate"),
                 QStringList({"2011.03.07.14.05.09", "2012.11.20.08.00.00"}));
        QList<VorelEBookMarkRelationItem> marks;
        QVERIFY(engine.GetMarkRelationInfo("b1", marks));
        QCOMPARE(marks.size(), 2);
        QCOMPARE(marks.at(0).m_bookMarkDate, newer); // newest first
        QCOMPARE(fields(marks.at(1)), fields(first));
        QVERIFY(engine.DeleteMarkRelation("b1", "c2", 4));
        QCOMPARE(QList<int>({rowsOf("BookMarkRelation", "b1"), rowsOf("BookMarkRelation", "b2")}),
                 QList<int>({0, 1}));
    }

    void readingPositionSurvivesReopen()
    {
        auto engine = std::make_unique<VorelEBookDatabaseEngine>();
        QVERIFY(engine->AddEBookChapterInfo("b1", VorelEBookChapterItemData("c1", 0, "One")));
        QVERIFY(!engine->AddEBookChapterInfo("b1", VorelEBookChapterItemData("c9", 9, "Nine")));
        QVERIFY(engine->UpdateBookChapterMark("b1", VorelEBookChapterItemData("c3", 17, "Three")));
        engine.reset();

        VorelEBookDatabaseEngine reopened;
        VorelEBookChapterItemData position;
        QVERIFY(reopened.GetBookChapterMark("b1", position));
        QCOMPARE(position.m_bookChapterId, "c3");
        QCOMPARE(position.m_bookReadingPageNum, 17);
        QCOMPARE(position.m_bookChapterName, "Three");
        QCOMPARE(rowsOf("DBBookContentTable", "b1"), 1);
    }

    // One table: a hostile value in every text column, read back unchanged,
    // and deleting by it touches that book only.
    void hostileText_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("quote") << "O'Brien's \"Tale\"";
        QTest::newRow("injection") << "x'); DROP TABLE DBBookTable;--";
        QTest::newRow("placeholder") << "%1 ? :name %2";
        QTest::newRow("cjk") << "红楼梦 第一回";
        QTest::newRow("emoji") << "📚 read 👍🏽";
        QString binaryish;
        for (int c = 1; c < 256; ++c)
            binaryish.append(QChar(c));
        QTest::newRow("binary-ish") << binaryish;
        QTest::newRow("empty") << QString("");
        // User ids keep their form: no number conversion on the way.
        QTest::newRow("leading zero") << "007";
        QTest::newRow("negative number") << "-42";
    }

    void hostileText()
    {
        QFETCH(QString, value);
        VorelEBookDatabaseEngine engine;
        QVERIFY(engine.AddEBookInfo(book("bystander", 0, 0, 0)));
        VorelEBookItemData stored = book(value, 0, 1, 2, value, value);
        stored.m_bookIconPath = stored.m_bookStorePath = value;
        QVERIFY(engine.AddEBookInfo(stored));
        VorelEBookItemData read;
        QVERIFY(engine.GetBookProperty(value, read));
        QCOMPARE(QStringList({read.m_bookId, read.m_bookName, read.m_bookAuthor,
                              read.m_bookIconPath, read.m_bookStorePath}),
                 QStringList(5, value));

        QVERIFY(engine.AddEBookChapterInfo(value, VorelEBookChapterItemData(value, 3, value)));
        VorelEBookChapterItemData position;
        QVERIFY(engine.GetBookChapterMark(value, position));
        QCOMPARE(position.m_bookChapterId + '|' + position.m_bookChapterName, value + '|' + value);

        const VorelEBookMarkRelationItem mark(value, value, value, 3, value, 1, value,
                                              QDateTime(QDate(2013, 1, 2), QTime(3, 4, 5)));
        QVERIFY(engine.AddMarkRelation(mark));
        QList<VorelEBookMarkRelationItem> marks;
        QVERIFY(engine.GetMarkRelationInfo(value, marks));
        QCOMPARE(marks.size(), 1);
        QCOMPARE(fields(marks.at(0)), fields(mark));
        int count = 0;
        QVERIFY(engine.GetMarkRelationCount(value, value, 3, count));
        QCOMPARE(count, 1);

        QVERIFY(engine.AddUserIdToDB(value));
        QString user;
        QVERIFY(engine.GetUserIdFromDB(user));
        QCOMPARE(user, value);

        QVERIFY(engine.DeleteEBookInfo(value));
        QVERIFY(engine.DeleteBookmark(value));
        QVERIFY(engine.DeleteBookmarkRelation(value));
        QVERIFY(engine.DeleteUserIdFromDB(value));
        QVERIFY(!engine.isBookIdExisted(value));
        QVERIFY(engine.isBookIdExisted("bystander"));
        QCOMPARE(rowsOf("DBBookContentTable", value) + rowsOf("BookMarkRelation", value), 0);
        QCOMPARE(rawColumn("SELECT count(*) FROM DBUserTable"), QStringList("0"));
    }

    void unusableDatabase_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("garbage file") << "garbage";
        QTest::newRow("folder in place of the file") << "folder";
        QTest::newRow("file in place of the folder") << "blocked";
    }

    void unusableDatabase()
    {
        QFETCH(QString, kind);
        const QByteArray garbage = QByteArray("not a database at all ").repeated(300);
        if (kind == "folder") {
            QVERIFY(QDir().mkpath(libraryFile()));
        } else {
            QVERIFY(QDir().mkpath(kind == "garbage" ? DbFolder.path()
                                                    : QFileInfo(DbFolder.path()).path()));
            QFile f(kind == "garbage" ? libraryFile() : DbFolder.path());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(kind == "garbage" ? garbage : QByteArray());
        }
        VorelEBookDatabaseEngine engine;
        VorelEBookItemData record = book("kept", 1, 5, 6);
        QList<VorelEBookItemData> books{record};
        QVERIFY(!engine.AddEBookInfo(book("b1", 1, 1, 1)));
        QVERIFY(!engine.GetBookInformation(books));
        QCOMPARE(books.size(), 1);
        QVERIFY(!engine.GetBookProperty("b1", record));
        QCOMPARE(record.m_bookId, "kept");
        int count = 5;
        QVERIFY(!engine.GetMarkRelationCount("b1", "c1", 0, count));
        QCOMPARE(count, 0);
        QFile f(libraryFile());
        if (kind == "garbage") // a broken file is never overwritten
            QVERIFY(f.open(QIODevice::ReadOnly) && f.readAll() == garbage);
    }

private:
    TestDataRoot m_root;
};

QTEST_GUILESS_MAIN(TestLibraryDatabase)
#include "tst_librarydatabase.moc"
