// The shelf controller and its list model against real packages, a real
// library database and the real reading engine.

#include "commondef.h"
#include "mybookinfoitem.h"
#include "mybookshelf.h"
#include "mybookshelfabstractmodel.h"
#include "testbooks.h"
#include "vebookreader.h"
#include "vorelebookdatabaseengine.h"
#include "vorelebookshelfmgr.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using Model = MyBookShelfAbstractModel;

class TestMyBookShelf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void scanIntake();
    void knownIdsAreNotReadAgain();
    void onlyLowerCaseSuffix();
    void brokenPackageLeavesShelf();
    void downloadIntake();
    void hostileDownloadIds_data();
    void hostileDownloadIds();
    void deleteRemovesFilesAndRows_data();
    void deleteRemovesFilesAndRows();
    void hostileTitles();
    void sortOrder();
    void sizeText_data();
    void sizeText();
    void bookName_data();
    void bookName();
    void modelBounds();
    void itemOperations();
    void diskSpace();
    void registersForScreens();

private:
    void start();
    void stop();
    QString preinstalled(const QString &id) const
    {
        return PreInstallBookFolder + "/" + id + ".vbp";
    }
    QString userBook(const QString &id) const { return UserBookFolder + "/" + id + ".vbp"; }
    QString cover(const QString &id) const { return BookInfoFolder + "/" + id + ".png"; }
    QVariant role(int row, int role) const;
    QStringList shelfIds() const;
    static bool clearFolder(const QString &path);

    QTemporaryDir m_root;
    std::unique_ptr<VorelEBookDatabaseEngine> m_db;
    std::unique_ptr<VEBookReader> m_reader;
    std::unique_ptr<VorelEBookShelfMgr> m_mgr;
    std::unique_ptr<MyBookShelf> m_shelf;
};

void TestMyBookShelf::start()
{
    // The order the program builds them in: the first database engine creates
    // the file, the shelf scans while it is built.
    m_db = std::make_unique<VorelEBookDatabaseEngine>();
    m_reader = std::make_unique<VEBookReader>();
    VorelEBookDatabaseEngine *db = m_db.get();
    m_reader->SetDBEngine(db);
    m_mgr = std::make_unique<VorelEBookShelfMgr>();
    m_shelf = std::make_unique<MyBookShelf>(*m_mgr, *m_reader);
}

void TestMyBookShelf::stop()
{
    m_shelf.reset();
    m_mgr.reset();
    m_reader.reset();
    m_db.reset();
}

QVariant TestMyBookShelf::role(int row, int r) const
{
    Model *model = m_shelf->shelfModel();
    return model->data(model->index(row), r);
}

QStringList TestMyBookShelf::shelfIds() const
{
    QStringList ids;
    for (int i = 0; i < m_shelf->shelfModel()->rowCount(); ++i)
        ids.append(role(i, Model::BookIdRole).toString());
    return ids;
}

bool TestMyBookShelf::clearFolder(const QString &path)
{
    QDir dir(path);
    return (!dir.exists() || dir.removeRecursively()) && QDir().mkpath(path);
}

void TestMyBookShelf::initTestCase()
{
    QVERIFY(m_root.isValid());
    qputenv("ZARVOREADER_ROOT", m_root.path().toLocal8Bit());
}

void TestMyBookShelf::init()
{
    QVERIFY(clearFolder(PreInstallBookFolder));
    QVERIFY(clearFolder(UserBookFolder));
    QVERIFY(clearFolder(BookInfoFolder));
    QFile::remove(DbFolder + "/BookDB.db");
}

void TestMyBookShelf::cleanup()
{
    stop();
}

void TestMyBookShelf::scanIntake()
{
    QVERIFY(writeTestBook(preinstalled("beta"), "beta", "Beta", "Writer B",
                          {{"One", QString(5000, 'b')}}));
    QVERIFY(writeTestBook(preinstalled("alpha"), "alpha", "Alpha", "Writer A", {{"One", "a"}}));
    start();

    VorelEBookItemData row;
    QVERIFY(m_mgr->GetVorelBookProperty("beta", row));
    QCOMPARE(row.m_bookName, QStringLiteral("Beta"));
    QCOMPARE(row.m_bookAuthor, QStringLiteral("Writer B"));
    QCOMPARE(row.m_bookMarkFlag, 0);
    QCOMPARE(row.m_downLoadingDate, 0u);
    QCOMPARE(row.m_lastReadingDate, 0u);
    QCOMPARE(row.m_bookStorePath, QFileInfo(preinstalled("beta")).absoluteFilePath());
    QCOMPARE(row.m_bookIconPath, cover("beta"));
    QCOMPARE(row.m_bookSize, uint(QFileInfo(preinstalled("beta")).size() / 1024));
    QVERIFY(QFile::exists(cover("beta")));

    // The model is filled when the screen asks for it.
    QCOMPARE(m_shelf->shelfModel()->rowCount(), 0);
    m_shelf->updateBookList();
    QCOMPARE(shelfIds(), QStringList({"alpha", "beta"}));
    QCOMPARE(role(0, Model::BookNameRole).toString(), QStringLiteral("Alpha"));
    QCOMPARE(role(0, Model::AuthorNameRole).toString(), QStringLiteral("Writer A"));
    QCOMPARE(role(0, Model::NewIconFlagRole).toBool(), false);
    QCOMPARE(role(0, Model::IconPathRole).toString(), cover("alpha"));
    QCOMPARE(role(1, Model::BookSizeRole).toString(),
             Model::convertSizeToString(uint(QFileInfo(preinstalled("beta")).size() / 1024)));
}

void TestMyBookShelf::knownIdsAreNotReadAgain()
{
    QVERIFY(writeTestBook(preinstalled("alpha"), "alpha", "Alpha", "A", {{"One", "a"}}));
    start();
    stop();

    // Reading a package writes its cover: with the cover gone, a second read
    // would show as a new cover file.
    QVERIFY(QFile::remove(cover("alpha")));
    QVERIFY(writeTestBook(preinstalled("alpha"), "alpha", "Changed", "A", {{"One", "a"}}));
    QVERIFY(writeTestBook(userBook("gamma"), "gamma", "Gamma", "G", {{"One", "g"}}));
    start();

    QVERIFY(!QFile::exists(cover("alpha")));
    QVERIFY(QFile::exists(cover("gamma")));
    VorelEBookItemData row;
    QVERIFY(m_mgr->GetVorelBookProperty("alpha", row));
    QCOMPARE(row.m_bookName, QStringLiteral("Alpha"));
    m_shelf->updateBookList();
    QCOMPARE(shelfIds(), QStringList({"alpha", "gamma"}));
}

void TestMyBookShelf::onlyLowerCaseSuffix()
{
    QVERIFY(writeTestBook(userBook("lower"), "lower", "Lower", "A", {{"One", "a"}}));
    QVERIFY(writeTestBook(UserBookFolder + "/upper.VBP", "upper", "Upper", "A", {{"One", "a"}}));
    QVERIFY(writeTestBook(UserBookFolder + "/mixed.Vbp", "mixed", "Mixed", "A", {{"One", "a"}}));
    QVERIFY(writeTestBook(UserBookFolder + "/inner/deep.vbp", "deep", "Deep", "A", {{"One", "a"}}));
    QVERIFY(QDir().mkpath(UserBookFolder + "/folder.vbp"));
    QVERIFY(writeGarbage(UserBookFolder + "/notes.txt", "text"));
    start();
    m_shelf->updateBookList();
    QCOMPARE(shelfIds(), QStringList({"lower"}));
}

void TestMyBookShelf::brokenPackageLeavesShelf()
{
    QVERIFY(writeGarbage(preinstalled("broken"), QByteArray(300, '\x01')));
    QVERIFY(writeGarbage(preinstalled("short"), "VBP0"));
    // A lone chapter package opens but holds no book.
    QVERIFY(writeGarbage(preinstalled("lonechapter"), BookPacker::chapterPackage("c0001", "x")));
    QVERIFY(writeTestBook(preinstalled("good"), "good", "Good", "A", {{"One", "a"}}));
    start();
    m_shelf->updateBookList();
    QCOMPARE(shelfIds(), QStringList({"good"}));

    // Damaged after it was taken in: opening fails and the book leaves the shelf.
    QVERIFY(writeGarbage(preinstalled("good"), QByteArray(100, '\0')));
    QCOMPARE(m_shelf->openBook("good", preinstalled("good")), 2);
    m_shelf->updateBookList();
    QCOMPARE(shelfIds(), QStringList());
}

void TestMyBookShelf::downloadIntake()
{
    QVERIFY(writeTestBook(preinstalled("old"), "old", "Old", "A", {{"One", "a"}}));
    start();
    QVERIFY(writeTestBook(userBook("12345"), "12345", "Fresh", "B", {{"One", "b"}}));
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    m_mgr->scanNewbookFinish("12345.vbp", UserBookFolder);

    QCOMPARE(shelfIds(), QStringList({"12345", "old"}));
    QCOMPARE(role(0, Model::NewIconFlagRole).toBool(), true);
    QCOMPARE(role(0, Model::BookPathRole).toString(), userBook("12345"));
    VorelEBookItemData row;
    QVERIFY(m_mgr->GetVorelBookProperty("12345", row));
    QVERIFY(row.m_downLoadingDate >= before);
    QCOMPARE(row.m_bookMarkFlag, 1);

    // Opening clears the badge in the library; the model shows it at the next hand-over.
    QCOMPARE(m_shelf->openBook("12345", userBook("12345")), 0);
    QVERIFY(m_mgr->GetVorelBookProperty("12345", row));
    QCOMPARE(row.m_bookMarkFlag, 0);
    QCOMPARE(role(0, Model::NewIconFlagRole).toBool(), true);
    m_shelf->updateBookList();
    QCOMPARE(role(shelfIds().indexOf("12345"), Model::NewIconFlagRole).toBool(), false);

    // The same download again keeps the existing record.
    m_shelf->refreshBookshelfModel("12345", UserBookFolder);
    QVERIFY(m_mgr->GetVorelBookProperty("12345", row));
    QCOMPARE(row.m_bookMarkFlag, 0);
    QCOMPARE(m_shelf->shelfModel()->rowCount(), 2);
}

void TestMyBookShelf::hostileDownloadIds_data()
{
    QTest::addColumn<QString>("cid");
    QTest::newRow("parent folder") << "../escape";
    QTest::newRow("nested") << "a/b";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("dots") << "..";
    QTest::newRow("empty") << "";
}

void TestMyBookShelf::hostileDownloadIds()
{
    QFETCH(QString, cid);
    // A real package lies where the hostile name would lead.
    QVERIFY(writeTestBook(UserBookFolder + "/" + cid + ".vbp", "escape", "Escape", "A",
                          {{"One", "a"}}));
    start();
    m_shelf->refreshBookshelfModel(cid, UserBookFolder);
    QVERIFY(!m_mgr->isBookIdExisted(cid));
    QCOMPARE(m_shelf->shelfModel()->rowCount(), 0);
    QVERIFY(!QFile::exists(BookInfoFolder + "/" + cid + ".png"));
}

void TestMyBookShelf::deleteRemovesFilesAndRows_data()
{
    QTest::addColumn<bool>("blankIcon");
    QTest::addColumn<bool>("packageGone");
    QTest::newRow("package and cover") << false << false;
    QTest::newRow("no cover path") << true << false;
    QTest::newRow("package already gone") << false << true;
}

void TestMyBookShelf::deleteRemovesFilesAndRows()
{
    QFETCH(bool, blankIcon);
    QFETCH(bool, packageGone);
    QVERIFY(writeTestBook(userBook("doomed"), "doomed", "Doomed", "A",
                          {{"One", numberedLines("1", 50)}, {"Two", "two"}}));
    QVERIFY(writeTestBook(userBook("kept"), "kept", "Kept", "A", {{"One", "k"}}));
    start();
    QCOMPARE(m_shelf->openBook("doomed", userBook("doomed")), 0);
    QCOMPARE(m_reader->GetFirstPageContent(), 0);
    QVERIFY(m_reader->SaveBookMrak());
    QCOMPARE(m_reader->GetNextOnePageContent(), 0);
    QVERIFY(m_reader->SaveBookMrak());
    QVERIFY(m_reader->StartUpListView());
    m_shelf->updateBookList();
    QCOMPARE(m_shelf->shelfModel()->rowCount(), 2);
    if (packageGone)
        QVERIFY(QFile::remove(userBook("doomed")));

    QVERIFY(m_shelf->deleteBook("doomed", userBook("doomed"), blankIcon ? " " : cover("doomed")));
    QVERIFY(!QFile::exists(userBook("doomed")));
    QCOMPARE(QFile::exists(cover("doomed")), blankIcon);
    QVERIFY(!m_db->isBookIdExisted("doomed"));
    int count = -1;
    QVERIFY(m_db->GetBookChapterMarkCount("doomed", count));
    QCOMPARE(count, 0);
    QList<VorelEBookMarkRelationItem> marks;
    QVERIFY(m_db->GetMarkRelationInfo("doomed", marks));
    QCOMPARE(marks.size(), 0);
    QCOMPARE(shelfIds(), QStringList({"kept"}));
    QVERIFY(QFile::exists(userBook("kept")));
}

void TestMyBookShelf::hostileTitles()
{
    const QString title = QStringLiteral("It's \"quoted\" <b>&amp; '); DROP TABLE x;--");
    const QString author = QStringLiteral("O'Neil \u4E2D\u6587");
    QVERIFY(writeTestBook(userBook("quote"), "quote", title, author, {{"It's", "it's"}}));
    start();
    VorelEBookItemData row;
    QVERIFY(m_mgr->GetVorelBookProperty("quote", row));
    QCOMPARE(row.m_bookName, title);
    QCOMPARE(row.m_bookAuthor, author);
    m_shelf->handleOrderPopup(1);
    QCOMPARE(shelfIds(), QStringList({"quote"}));
    QCOMPARE(role(0, Model::BookNameRole).toString(), Model::shortBookName(title));
    QCOMPARE(role(0, Model::AuthorNameRole).toString(), author);
    QCOMPARE(m_shelf->openBook("quote", userBook("quote")), 0);
    QVERIFY(m_shelf->deleteBook("quote", userBook("quote"), cover("quote")));
    QCOMPARE(m_shelf->shelfModel()->rowCount(), 0);
}

void TestMyBookShelf::sortOrder()
{
    QVERIFY(writeTestBook(userBook("b1"), "b1", "Zebra", "Adams", {{"One", "a"}}));
    QVERIFY(writeTestBook(userBook("b2"), "b2", "Apple", "Young", {{"One", "a"}}));
    QVERIFY(writeTestBook(userBook("b3"), "b3", "Mango", "Miller", {{"One", "a"}}));
    start();
    QCOMPARE(m_shelf->getOrderBookIndex(), 2);

    m_shelf->handleOrderPopup(0); // by author, as the statement orders it: descending
    QCOMPARE(shelfIds(), QStringList({"b2", "b3", "b1"}));
    QCOMPARE(m_shelf->getOrderBookIndex(), 0);
    m_shelf->handleOrderPopup(1); // by name, descending
    QCOMPARE(shelfIds(), QStringList({"b1", "b3", "b2"}));
    QCOMPARE(m_shelf->getOrderBookIndex(), 1);
    m_shelf->handleOrderPopup(7);
    QCOMPARE(shelfIds(), QStringList({"b1", "b3", "b2"}));
    QCOMPARE(m_shelf->getOrderBookIndex(), 1);

    stop();
    start();
    QCOMPARE(m_shelf->getOrderBookIndex(), 1);
    m_shelf->updateBookList();
    QCOMPARE(shelfIds(), QStringList({"b1", "b3", "b2"}));
    m_shelf->handleOrderPopup(2);
    QCOMPARE(shelfIds(), QStringList({"b1", "b2", "b3"}));
    QCOMPARE(m_shelf->getOrderBookIndex(), 2);

    // Emptying the manager's list leaves the model's own copy alone.
    m_shelf->clearBookShelfList();
    QCOMPARE(m_mgr->GetListData()->size(), 0);
    QCOMPARE(m_shelf->shelfModel()->rowCount(), 3);
    QVERIFY(m_shelf->updateBookShelfByType(5));
    QCOMPARE(m_shelf->shelfModel()->rowCount(), 0);
}

void TestMyBookShelf::sizeText_data()
{
    QTest::addColumn<uint>("kb");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0u << "0KB";
    QTest::newRow("999") << 999u << "999KB";
    QTest::newRow("1000") << 1000u << "0.9MB";
    QTest::newRow("1019") << 1019u << "0.9MB";
    QTest::newRow("1020") << 1020u << "1.0MB";
    QTest::newRow("1500") << 1500u << "1.4MB";
    QTest::newRow("10240") << 10240u << "10.0MB";
    QTest::newRow("max") << 4294967295u << "4210752.2MB";
}

void TestMyBookShelf::sizeText()
{
    QFETCH(uint, kb);
    QFETCH(QString, text);
    QCOMPARE(Model::convertSizeToString(kb), text);
}

void TestMyBookShelf::bookName_data()
{
    const QString pair = QString::fromUcs4(U"\U00020000");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");
    QTest::newRow("12 whole") << "abcdefghijkl"
                              << "abcdefghijkl";
    QTest::newRow("13 cut") << "abcdefghijklm"
                            << "abcdefghij...";
    QTest::newRow("cjk 13") << QString(13, QChar(0x4E66)) << QString(10, QChar(0x4E66)) + "...";
    QTest::newRow("pairs 12") << pair.repeated(12) << pair.repeated(12);
    QTest::newRow("pairs 13") << pair.repeated(13) << pair.repeated(10) + "...";
    QTest::newRow("empty") << ""
                           << "";
}

void TestMyBookShelf::bookName()
{
    QFETCH(QString, title);
    QFETCH(QString, shown);
    QCOMPARE(Model::shortBookName(title), shown);
}

void TestMyBookShelf::modelBounds()
{
    Model model;
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.data(model.index(0), Model::BookIdRole).isValid());
    QList<VorelEBookItemData> items(2);
    items[0].m_bookId = "x";
    items[0].m_bookMarkFlag = 1;
    model.updateItemList(&items);
    items.clear();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.data(model.index(0), Model::BookIdRole).toString(), QStringLiteral("x"));
    QCOMPARE(model.data(model.index(0), 36).toBool(), true);
    QVERIFY(!model.data(model.index(2), Model::BookIdRole).isValid());
    QVERIFY(!model.data(model.index(0), 32).isValid());
    QVERIFY(!model.data(model.index(0), 40).isValid());
    QCOMPARE(model.flags(QModelIndex()), Qt::ItemIsEnabled);
    QVERIFY(model.flags(model.index(0)) & Qt::ItemIsEditable);
    QCOMPARE(model.roleNames().value(33), QByteArray("iconPath"));
    QCOMPARE(model.roleNames().value(39), QByteArray("bookId"));
    model.updateItemList(nullptr);
    QCOMPARE(model.rowCount(), 0);
}

void TestMyBookShelf::itemOperations()
{
    Model model;
    MyBookInfoItem item;
    item.m_id = "new";
    item.m_newIconFlag = true;
    item.m_bookSize = 1500;
    QVERIFY(!model.insertItem(1, &item));
    QVERIFY(!model.insertItem(0, nullptr));
    QVERIFY(model.insertItem(0, &item));
    QCOMPARE(model.data(model.index(0), Model::NewIconFlagRole).toBool(), true);
    QCOMPARE(model.data(model.index(0), Model::BookSizeRole).toString(), QStringLiteral("1.4MB"));
    QVERIFY(!model.deleteItem(1));
    QVERIFY(model.deleteItem(0));
    QVERIFY(model.insertItem(0, &item));
    model.removeAllItem();
    QCOMPARE(model.rowCount(), 0);
}

void TestMyBookShelf::diskSpace()
{
    start();
    const qint64 free = MyBookShelf::availableDiskSpace();
    if (free < 64 * 1024 * 1024)
        QSKIP("too little free space here to tell the cases apart");
    QSignalSpy spy(m_shelf.get(), &MyBookShelf::diskSpaceNotEnough);
    m_shelf->checkDiskSpace();
    m_shelf->checkDiskSpace(0);
    QCOMPARE(spy.count(), 0);
    m_shelf->checkDiskSpace(free + (qint64(1) << 40));
    QCOMPARE(spy.count(), 1);
}

void TestMyBookShelf::registersForScreens()
{
    QVERIFY(writeTestBook(userBook("qml"), "qml", "Qml", "A", {{"One", "a"}}));
    start();
    QQuickView view;
    m_shelf->setDeclarativeView(view);
    QQmlComponent component(view.engine());
    component.setData(
        "import QtQml\n"
        "QtObject {\n"
        "  property int order: myBookShelf.getOrderBookIndex()\n"
        "  property int rows: { myBookShelf.updateBookList(); return shelfListModel.rowCount() }\n"
        "  Component.onCompleted: myBookShelf.checkDiskSpace()\n"
        "}\n",
        QUrl());
    std::unique_ptr<QObject> object(component.create(view.rootContext()));
    QVERIFY2(object, qPrintable(component.errorString()));
    QCOMPARE(object->property("order").toInt(), 2);
    QCOMPARE(object->property("rows").toInt(), 1);
    object.reset();
    m_shelf.reset();
    QVERIFY(!view.rootContext()->contextProperty("shelfListModel").value<QObject *>());
}

QTEST_MAIN(TestMyBookShelf)
#include "tst_mybookshelf.moc"
