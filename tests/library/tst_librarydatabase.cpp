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
                        const QString &name = QStringLiteral("name"),
                        const QString &author = QStringLiteral("author"))
{
    VorelEBookItemData item(id, read, downloaded, name, QStringLiteral("/covers/") + id);
    item.m_bookMarkFlag = flag;
    item.m_bookSize = 321;
    item.m_bookAuthor = author;
    item.m_bookStorePath = QStringLiteral("/books/") + id + QStringLiteral(".vbp");
    return item;
}

QStringList ids(const QList<VorelEBookItemData> &books)
{
    QStringList result;
    for (const VorelEBookItemData &b : books)
        result << b.m_bookId;
    return result;
}

} // namespace

class TestLibraryDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void freshDeviceHasFiveTables();
    void secondEngineSharesTheConnection();
    void storageClasses_data();
    void storageClasses();
    void listings_data();
    void listings();
    void newFlagFromSetterIsListed();
    void bookmarkDateTextAndRoundTrip();
    void readingPositionSurvivesReopen();
    void missingBookLeavesRecordUntouched();
    void hostileText_data();
    void hostileText();
    void userIdsKeepTheirForm_data();
    void userIdsKeepTheirForm();
    void unusableDatabase_data();
    void unusableDatabase();

private:
    TestDataRoot m_root;
};

void TestLibraryDatabase::init()
{
    // A fresh device for every test.
    QVERIFY(m_root.renew());
}

void TestLibraryDatabase::freshDeviceHasFiveTables()
{
    QVERIFY(!QDir(DbFolder).exists());
    VorelEBookDatabaseEngine engine;
    QVERIFY(QFile::exists(libraryFile()));
    QStringList tables =
        rawColumn(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    tables.sort();
    QCOMPARE(tables, QStringList({"BookMarkRelation", "BookSortState", "DBBookContentTable",
                                  "DBBookTable", "DBUserTable"}));

    QList<VorelEBookItemData> books;
    QVERIFY(engine.GetBookInformation(books));
    QVERIFY(books.isEmpty());
    QList<VorelEBookMarkRelationItem> marks;
    QVERIFY(engine.GetMarkRelationInfo(QStringLiteral("x"), marks));
    QVERIFY(marks.isEmpty());
    int state = 42, count = 42;
    QVERIFY(engine.GetBookSortState(state));
    QCOMPARE(state, 42);
    QVERIFY(engine.GetBookChapterMarkCount(QStringLiteral("x"), count));
    QCOMPARE(count, 0);
    QVERIFY(!engine.isBookIdExisted(QStringLiteral("x")));
}

void TestLibraryDatabase::secondEngineSharesTheConnection()
{
    auto first = std::make_unique<VorelEBookDatabaseEngine>();
    VorelEBookDatabaseEngine second;
    QVERIFY(first->AddEBookInfo(book(QStringLiteral("b1"), 0, 0, 0)));
    QVERIFY(second.isBookIdExisted(QStringLiteral("b1")));
    QVERIFY(!second.AddEBookInfo(book(QStringLiteral("b1"), 0, 0, 0)));
    // One engine going away must not cut off the other.
    first.reset();
    QVERIFY(second.isBookIdExisted(QStringLiteral("b1")));
}

void TestLibraryDatabase::storageClasses_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("type");
    const char *const rows[][3] = {
        {"DBBookTable", "bookid", "text"},
        {"DBBookTable", "bookname", "text"},
        {"DBBookTable", "bookAuthor", "text"},
        {"DBBookTable", "bookSize", "text"},
        {"DBBookTable", "bookIcon", "text"},
        {"DBBookTable", "bookPath", "text"},
        {"DBBookTable", "bookDownloadingDate", "integer"},
        {"DBBookTable", "bookReadingDate", "integer"},
        {"DBBookTable", "bookMark", "text"},
        {"DBBookContentTable", "bookid", "text"},
        {"DBBookContentTable", "bookChapterId", "text"},
        {"DBBookContentTable", "bookChapterName", "text"},
        {"DBBookContentTable", "bookReadingPageNum", "text"},
        {"BookSortState", "stateid", "integer"},
        {"BookSortState", "sortType", "integer"},
        {"BookMarkRelation", "bookid", "text"},
        {"BookMarkRelation", "bookname", "text"},
        {"BookMarkRelation", "chapterid", "text"},
        {"BookMarkRelation", "chaptername", "text"},
        {"BookMarkRelation", "pagenum", "text"},
        {"BookMarkRelation", "chapterpagenum", "text"},
        {"BookMarkRelation", "bookMarkDate", "text"},
        {"BookMarkRelation", "bookMarkDescription", "text"},
        {"DBUserTable", "userid", "integer"},
    };
    for (const auto &row : rows)
        QTest::addRow("%s.%s", row[0], row[1]) << row[0] << row[1] << row[2];
}

void TestLibraryDatabase::storageClasses()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, type);
    VorelEBookDatabaseEngine engine;
    // Empty strings must still be stored as text, not NULL.
    VorelEBookItemData item = book(QStringLiteral("b1"), 1, 100, 0, QString(), QString());
    QVERIFY(engine.AddEBookInfo(item));
    QVERIFY(engine.UpdateEBookInfo(QStringLiteral("b1"), item));
    QVERIFY(engine.UpdateReadingDateByBookId(QStringLiteral("b1"), QDateTime::currentDateTime()));
    QVERIFY(engine.AddEBookChapterInfo(QStringLiteral("b1"), VorelEBookChapterItemData()));
    QVERIFY(engine.UpdateBookChapterMark(QStringLiteral("b1"),
                                         VorelEBookChapterItemData("c1", 3, "One")));
    VorelEBookMarkRelationItem mark;
    mark.m_bookId = QStringLiteral("b1");
    mark.m_bookMarkDate = QDateTime::currentDateTime();
    QVERIFY(engine.AddMarkRelation(mark));
    QVERIFY(engine.AddBookSortState(0, 0));
    QVERIFY(engine.UpdateBookSortState(0, 2));
    QVERIFY(engine.AddUserIdToDB(QStringLiteral("1234567")));
    QVERIFY(engine.UpdateUserIdFromDB(QStringLiteral("1234567"), QStringLiteral("7654321")));

    const QStringList types =
        rawColumn(QStringLiteral("SELECT typeof(%1) FROM %2").arg(column, table));
    QCOMPARE(types, QStringList(type));
}

void TestLibraryDatabase::listings_data()
{
    QTest::addColumn<int>("sortState");
    QTest::addColumn<QString>("listing");
    QTest::addColumn<QStringList>("expected");
    // new books newest download first, read books latest first, the rest by id
    const QStringList byDefault = {"new200", "new100", "read300", "read50", "a", "b"};
    QTest::newRow("default") << 0 << "default" << byDefault;
    QTest::newRow("unknown state") << 7 << "default" << byDefault;
    QTest::newRow("by id") << 0 << "id" << byDefault;
    QTest::newRow("by author") << 1 << "default"
                               << QStringList{"b", "a", "read50", "read300", "new100", "new200"};
    QTest::newRow("by name") << 2 << "default"
                             << QStringList{"new200", "new100", "read300", "read50", "b", "a"};
    // Books with equal dates have no defined order among themselves: only
    // those with distinct dates are compared.
    QTest::newRow("by reading date") << 0 << "reading" << QStringList{"read50", "read300"};
    QTest::newRow("by download date")
        << 0 << "download" << QStringList{"read50", "read300", "new100", "new200"};
}

void TestLibraryDatabase::listings()
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
    const VorelEBookItemData &read = books.at(ids(books).indexOf("read300"));
    QCOMPARE(read.m_lastReadingDate, 300u);
    QCOMPARE(read.m_downLoadingDate, 20u);
    QCOMPARE(read.m_bookSize, 321u);
    QCOMPARE(read.m_bookAuthor, QStringLiteral("A3"));
    QCOMPARE(read.m_bookStorePath, QStringLiteral("/books/read300.vbp"));
    QCOMPARE(read.m_bookIconPath, QStringLiteral("/covers/read300"));
}

void TestLibraryDatabase::newFlagFromSetterIsListed()
{
    VorelEBookDatabaseEngine engine;
    QVERIFY(engine.AddEBookInfo(book("a", 0, 0, 0)));
    QVERIFY(engine.AddEBookInfo(book("b", 0, 0, 0)));
    QVERIFY(engine.setNewiconFlagToDB("b", 1));
    QList<VorelEBookItemData> books;
    QVERIFY(engine.SelectEBookInfoByDefault(books));
    QCOMPARE(ids(books), QStringList({"b", "a"}));
    QCOMPARE(books.first().m_bookMarkFlag, 1);

    QVERIFY(engine.setNewiconFlagToDB("b", 0));
    books.clear();
    QVERIFY(engine.SelectEBookInfoByDefault(books));
    QCOMPARE(ids(books), QStringList({"a", "b"}));
}

void TestLibraryDatabase::bookmarkDateTextAndRoundTrip()
{
    VorelEBookDatabaseEngine engine;
    const QDateTime older(QDate(2011, 3, 7), QTime(14, 5, 9));
    const QDateTime newer(QDate(2012, 11, 20), QTime(8, 0, 0));
    QVERIFY(engine.AddMarkRelation(
        VorelEBookMarkRelationItem("b1", "Book", "c2", 4, "Two", 2, "Chapter one begins", older)));
    QVERIFY(engine.AddMarkRelation(
        VorelEBookMarkRelationItem("b1", "Book", "c2", 4, "Two", 2, "again", newer)));
    QVERIFY(engine.AddMarkRelation(
        VorelEBookMarkRelationItem("b2", "Other", "c2", 4, "Two", 2, "other book", older)));

    QCOMPARE(rawColumn("SELECT bookMarkDate FROM BookMarkRelation WHERE bookid = 'b1' "
                       "ORDER BY bookMarkDate"),
             QStringList({"2011.03.07.14.05.09", "2012.11.20.08.00.00"}));

    QList<VorelEBookMarkRelationItem> marks;
    QVERIFY(engine.GetMarkRelationInfo("b1", marks));
    QCOMPARE(marks.size(), 2);
    QCOMPARE(marks.at(0).m_bookMarkDate, newer); // newest first
    const VorelEBookMarkRelationItem &m = marks.at(1);
    QCOMPARE(m.m_bookMarkDate, older);
    QCOMPARE(m.m_bookId, QStringLiteral("b1"));
    QCOMPARE(m.m_bookName, QStringLiteral("Book"));
    QCOMPARE(m.m_bookChapterId, QStringLiteral("c2"));
    QCOMPARE(m.m_bookReadingPageNum, 4);
    QCOMPARE(m.m_bookChapterName, QStringLiteral("Two"));
    QCOMPARE(m.m_chapterpageNum, 2);
    QCOMPARE(m.m_bookMarkDes, QStringLiteral("Chapter one begins"));

    int count = -1;
    QVERIFY(engine.GetMarkRelationCount("b1", "c2", 4, count));
    QCOMPARE(count, 2);
    QVERIFY(engine.GetMarkRelationCount("b1", "c2", 5, count));
    QCOMPARE(count, 0);
    QVERIFY(engine.DeleteMarkRelation("b1", "c2", 4));
    QVERIFY(engine.GetMarkRelationCount("b1", "c2", 4, count));
    QCOMPARE(count, 0);
    QVERIFY(engine.GetMarkRelationCount("b2", "c2", 4, count));
    QCOMPARE(count, 1);
    QVERIFY(engine.deleteOneBookMarkRelation("b2"));
    QCOMPARE(rowsOf("BookMarkRelation", "b2"), 0);
}

void TestLibraryDatabase::readingPositionSurvivesReopen()
{
    auto engine = std::make_unique<VorelEBookDatabaseEngine>();
    QVERIFY(engine->AddEBookChapterInfo("b1", VorelEBookChapterItemData("c1", 0, "One")));
    QVERIFY(!engine->AddEBookChapterInfo("b1", VorelEBookChapterItemData("c9", 9, "Nine")));
    QVERIFY(engine->UpdateBookChapterMark("b1", VorelEBookChapterItemData("c3", 17, "Three")));
    engine.reset();

    VorelEBookDatabaseEngine reopened;
    VorelEBookChapterItemData position;
    QVERIFY(reopened.GetBookChapterMark("b1", position));
    QCOMPARE(position.m_bookChapterId, QStringLiteral("c3"));
    QCOMPARE(position.m_bookReadingPageNum, 17);
    QCOMPARE(position.m_bookChapterName, QStringLiteral("Three"));
    int count = -1;
    QVERIFY(reopened.GetBookChapterMarkCount("b1", count));
    QCOMPARE(count, 1);
    QVERIFY(reopened.DeleteBookmark("b1"));
    QVERIFY(reopened.GetBookChapterMarkCount("b1", count));
    QCOMPARE(count, 0);
}

void TestLibraryDatabase::missingBookLeavesRecordUntouched()
{
    VorelEBookDatabaseEngine engine;
    VorelEBookItemData record = book("kept", 1, 5, 6);
    QVERIFY(engine.GetBookProperty("absent", record));
    QCOMPARE(record.m_bookId, QStringLiteral("kept"));
    QCOMPARE(record.m_downLoadingDate, 5u);
    VorelEBookChapterItemData position("c1", 2, "One");
    QVERIFY(engine.GetBookChapterMark("absent", position));
    QCOMPARE(position.m_bookReadingPageNum, 2);
}

void TestLibraryDatabase::hostileText_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("quote") << QStringLiteral("O'Brien's \"Tale\"");
    QTest::newRow("injection") << QStringLiteral("x'); DROP TABLE DBBookTable;--");
    QTest::newRow("placeholder") << QStringLiteral("%1 ? :name %2");
    QTest::newRow("cjk") << QStringLiteral("红楼梦 第一回");
    QTest::newRow("emoji") << QStringLiteral("📚 read 👍🏽");
    QString binaryish;
    for (int c = 1; c < 256; ++c)
        binaryish.append(QChar(c));
    QTest::newRow("binary-ish") << binaryish;
    QTest::newRow("empty") << QString();
}

void TestLibraryDatabase::hostileText()
{
    QFETCH(QString, value);
    VorelEBookDatabaseEngine engine;
    QVERIFY(engine.AddEBookInfo(book("bystander", 0, 0, 0)));

    VorelEBookItemData stored = book(value, 0, 1, 2, value, value);
    stored.m_bookIconPath = value;
    stored.m_bookStorePath = value;
    QVERIFY(engine.AddEBookInfo(stored));
    QVERIFY(engine.isBookIdExisted(value));
    VorelEBookItemData read;
    QVERIFY(engine.GetBookProperty(value, read));
    for (const QString &field : {read.m_bookId, read.m_bookName, read.m_bookAuthor,
                                 read.m_bookIconPath, read.m_bookStorePath})
        QCOMPARE(field, value.isNull() ? QStringLiteral("") : value);

    QVERIFY(engine.AddEBookChapterInfo(value, VorelEBookChapterItemData(value, 3, value)));
    VorelEBookChapterItemData position;
    QVERIFY(engine.GetBookChapterMark(value, position));
    QCOMPARE(position.m_bookChapterId, value);
    QCOMPARE(position.m_bookChapterName, value);

    const QDateTime when(QDate(2013, 1, 2), QTime(3, 4, 5));
    QVERIFY(engine.AddMarkRelation(
        VorelEBookMarkRelationItem(value, value, value, 3, value, 1, value, when)));
    QList<VorelEBookMarkRelationItem> marks;
    QVERIFY(engine.GetMarkRelationInfo(value, marks));
    QCOMPARE(marks.size(), 1);
    for (const QString &field : {marks[0].m_bookId, marks[0].m_bookName, marks[0].m_bookChapterId,
                                 marks[0].m_bookChapterName, marks[0].m_bookMarkDes})
        QCOMPARE(field, value);
    int count = 0;
    QVERIFY(engine.GetMarkRelationCount(value, value, 3, count));
    QCOMPARE(count, 1);

    QVERIFY(engine.AddUserIdToDB(value));
    QString user;
    QVERIFY(engine.GetUserIdFromDB(user));
    QCOMPARE(user, value);

    // Deleting by the hostile id touches that book only.
    QVERIFY(engine.DeleteEBookInfo(value));
    QVERIFY(engine.DeleteBookmark(value));
    QVERIFY(engine.DeleteBookmarkRelation(value));
    QVERIFY(engine.DeleteUserIdFromDB(value));
    QVERIFY(!engine.isBookIdExisted(value));
    QVERIFY(engine.isBookIdExisted("bystander"));
    QCOMPARE(rowsOf("DBBookContentTable", value), 0);
    QCOMPARE(rowsOf("BookMarkRelation", value), 0);
    QCOMPARE(rawColumn("SELECT count(*) FROM DBUserTable"), QStringList("0"));
}

void TestLibraryDatabase::userIdsKeepTheirForm_data()
{
    QTest::addColumn<QString>("uid");
    QTest::addColumn<QString>("type");
    QTest::newRow("number") << "1234567"
                            << "integer";
    QTest::newRow("negative") << "-42"
                              << "integer";
    QTest::newRow("leading zero") << "007"
                                  << "text";
    QTest::newRow("expression") << "1+1"
                                << "text";
    QTest::newRow("word") << "guest"
                          << "text";
}

void TestLibraryDatabase::userIdsKeepTheirForm()
{
    QFETCH(QString, uid);
    QFETCH(QString, type);
    VorelEBookDatabaseEngine engine;
    QVERIFY(engine.AddUserIdToDB(uid));
    QVERIFY(!engine.AddUserIdToDB(uid)); // unique
    QCOMPARE(rawColumn("SELECT typeof(userid) FROM DBUserTable"), QStringList(type));
    QString read;
    QVERIFY(engine.GetUserIdFromDB(read));
    QCOMPARE(read, uid);
    QVERIFY(engine.UpdateUserIdFromDB(uid, "99"));
    QVERIFY(engine.GetUserIdFromDB(read));
    QCOMPARE(read, QStringLiteral("99"));
    QVERIFY(engine.DeleteUserIdFromDB("99"));
    QCOMPARE(rawColumn("SELECT count(*) FROM DBUserTable"), QStringList("0"));
}

void TestLibraryDatabase::unusableDatabase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("garbage file") << "garbage";
    QTest::newRow("folder in place of the file") << "folder";
    QTest::newRow("file in place of the folder") << "blocked";
}

void TestLibraryDatabase::unusableDatabase()
{
    QFETCH(QString, kind);
    const QString db = libraryFile();
    const QByteArray garbage = QByteArray("not a database at all ").repeated(300);
    if (kind == "garbage") {
        QVERIFY(QDir().mkpath(DbFolder));
        QFile f(db);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(garbage);
    } else if (kind == "folder") {
        QVERIFY(QDir().mkpath(db));
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(DbFolder.path()).path()));
        QFile f(DbFolder);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

    VorelEBookDatabaseEngine engine;
    VorelEBookItemData record = book("kept", 1, 5, 6);
    QList<VorelEBookItemData> books{record};
    QVERIFY(!engine.AddEBookInfo(book("b1", 1, 1, 1)));
    QVERIFY(!engine.GetBookInformation(books));
    QCOMPARE(books.size(), 1);
    QVERIFY(!engine.GetBookProperty("b1", record));
    QCOMPARE(record.m_bookId, QStringLiteral("kept"));
    QVERIFY(!engine.isBookIdExisted("b1"));
    int count = 5;
    QVERIFY(!engine.GetMarkRelationCount("b1", "c1", 0, count));
    QCOMPARE(count, 0);
    QVERIFY(!engine.AddBookSortState(0, 0));
    QVERIFY(!engine.AddEBookChapterInfo("b1", VorelEBookChapterItemData()));
    QVERIFY(!engine.setNewiconFlagToDB("b1", 0));
    if (kind == "garbage") {
        QFile f(db);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), garbage); // a broken file is never overwritten
    }
}

QTEST_GUILESS_MAIN(TestLibraryDatabase)
#include "tst_librarydatabase.moc"
