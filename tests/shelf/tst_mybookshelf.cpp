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

    static QString preset(const QString &id) { return PreInstallBookFolder + "/" + id + ".vbp"; }
    static QString userBook(const QString &id) { return UserBookFolder + "/" + id + ".vbp"; }
    static QString cover(const QString &id) { return BookInfoFolder + "/" + id + ".png"; }
    static bool book(const QString &path, const QString &id, const QString &title = "T",
                     const QString &author = "A", const QString &text = "a")
    {
        return writeTestBook(path, id, title, author, {{"One", text}});
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("ZARVOREADER_ROOT", m_root.path().toLocal8Bit());
    }

    void init()
    {
        for (const QString folder : {PreInstallBookFolder, UserBookFolder, BookInfoFolder})
            QVERIFY(QDir(folder).removeRecursively() && QDir().mkpath(folder));
        QFile::remove(DbFolder + "/BookDB.db");
    }

    void cleanup() { stop(); }

    void scanIntake()
    {
        // Quotes, markup and SQL in a title are stored and shown verbatim.
        const QString title = QStringLiteral("It's \"quoted\" <b>&amp; '); DROP TABLE x;--");
        const QString author = QStringLiteral("O'Neil \u4E2D\u6587");
        QVERIFY(book(preset("beta"), "beta", title, author, QString(5000, 'b')));
        QVERIFY(book(preset("alpha"), "alpha", "Alpha", "Writer A"));
        start();

        VorelEBookItemData row;
        QVERIFY(m_mgr->GetVorelBookProperty("beta", row));
        QCOMPARE(row.m_bookName, title);
        QCOMPARE(row.m_bookAuthor, author);
        QCOMPARE(row.m_bookMarkFlag, 0);
        QCOMPARE(row.m_bookStorePath, QFileInfo(preset("beta")).absoluteFilePath());
        const uint kb = uint(QFileInfo(preset("beta")).size() / 1024);
        QCOMPARE(row.m_bookSize, kb);
        QVERIFY(QFile::exists(cover("beta")));

        // The model is filled when the screen asks for it.
        QCOMPARE(m_shelf->shelfModel()->rowCount(), 0);
        m_shelf->updateBookList();
        QCOMPARE(shelfIds(), QStringList({"alpha", "beta"}));
        QCOMPARE(role(0, Model::AuthorNameRole).toString(), QStringLiteral("Writer A"));
        QCOMPARE(role(0, Model::NewIconFlagRole).toBool(), false);
        QCOMPARE(role(0, Model::IconPathRole).toString(), cover("alpha"));
        QCOMPARE(role(1, Model::BookNameRole).toString(), Model::shortBookName(title));
        QCOMPARE(role(1, Model::BookSizeRole).toString(), Model::convertSizeToString(kb));
    }

    void knownIdsAreNotReadAgain()
    {
        QVERIFY(book(preset("alpha"), "alpha", "Alpha"));
        start();
        stop();
        // Reading a package writes its cover: with the cover gone, a second read
        // would show as a new cover file.
        QVERIFY(QFile::remove(cover("alpha")));
        QVERIFY(book(preset("alpha"), "alpha", "Changed"));
        QVERIFY(book(userBook("gamma"), "gamma"));
        // Only files ending in lower-case ".vbp" right in the folder are packages.
        QVERIFY(book(UserBookFolder + "/upper.VBP", "upper"));
        QVERIFY(book(UserBookFolder + "/inner/deep.vbp", "deep"));
        QVERIFY(QDir().mkpath(UserBookFolder + "/folder.vbp"));
        QVERIFY(writeFile(UserBookFolder + "/notes.md", "text"));
        start();

        QVERIFY(!QFile::exists(cover("alpha")));
        QVERIFY(QFile::exists(cover("gamma")));
        VorelEBookItemData row;
        QVERIFY(m_mgr->GetVorelBookProperty("alpha", row));
        QCOMPARE(row.m_bookName, QStringLiteral("Alpha"));
        m_shelf->updateBookList();
        QCOMPARE(shelfIds(), QStringList({"alpha", "gamma"}));
    }

    void brokenPackageLeavesShelf()
    {
        QVERIFY(writeFile(preset("broken"), QByteArray(300, '\x01')));
        // A lone chapter package opens but holds no book.
        QVERIFY(writeFile(preset("lonechapter"), BookPacker::chapterPackage("c0001", "x")));
        QVERIFY(book(preset("good"), "good"));
        start();
        m_shelf->updateBookList();
        QCOMPARE(shelfIds(), QStringList({"good"}));
    }

    void downloadIntake()
    {
        QVERIFY(book(preset("old"), "old"));
        start();
        QVERIFY(book(userBook("12345"), "12345"));
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        m_mgr->scanNewbookFinish("12345.vbp", UserBookFolder);
        QCOMPARE(shelfIds(), QStringList({"12345", "old"}));
        QCOMPARE(role(0, Model::NewIconFlagRole).toBool(), true);
        QCOMPARE(role(0, Model::BookPathRole).toString(), userBook("12345"));
        VorelEBookItemData row;
        QVERIFY(m_mgr->GetVorelBookProperty("12345", row));
        QVERIFY(row.m_downLoadingDate >= before);

        // Opening clears the badge in the library; the model shows it at the next hand-over.
        QCOMPARE(m_shelf->openBook("12345", userBook("12345")), 0);
        QVERIFY(m_mgr->GetVorelBookProperty("12345", row));
        QCOMPARE(row.m_bookMarkFlag, 0);
        m_shelf->updateBookList();
        QCOMPARE(role(shelfIds().indexOf("12345"), Model::NewIconFlagRole).toBool(), false);

        // The same download again keeps the existing record.
        m_shelf->refreshBookshelfModel("12345", UserBookFolder);
        QVERIFY(m_mgr->GetVorelBookProperty("12345", row));
        QCOMPARE(row.m_bookMarkFlag, 0);
        QCOMPARE(m_shelf->shelfModel()->rowCount(), 2);
    }

    void hostileDownloadIds_data()
    {
        QTest::addColumn<QString>("cid");
        QTest::newRow("parent folder") << "../escape";
        QTest::newRow("nested") << "a/b";
        QTest::newRow("empty") << "";
    }

    void hostileDownloadIds()
    {
        QFETCH(QString, cid);
        // A real package lies where the hostile name would lead.
        QVERIFY(book(UserBookFolder + "/" + cid + ".vbp", "escape"));
        start();
        m_shelf->refreshBookshelfModel(cid, UserBookFolder);
        QVERIFY(!m_mgr->isBookIdExisted(cid));
        QCOMPARE(m_shelf->shelfModel()->rowCount(), 0);
        QVERIFY(!QFile::exists(cover(cid)));
    }

    void deleteRemovesFilesAndRows_data()
    {
        QTest::addColumn<bool>("blankIcon");
        QTest::addColumn<bool>("packageGone");
        QTest::newRow("package and cover") << false << false;
        QTest::newRow("no cover path") << true << false;
        QTest::newRow("package already gone") << false << true;
    }

    void deleteRemovesFilesAndRows()
    {
        QFETCH(bool, blankIcon);
        QFETCH(bool, packageGone);
        QVERIFY(book(userBook("doomed"), "doomed"));
        QVERIFY(book(userBook("kept"), "kept"));
        start();
        markFirstPageAndLeave("doomed");
        m_shelf->updateBookList();
        if (packageGone)
            QVERIFY(QFile::remove(userBook("doomed")));

        QVERIFY(
            m_shelf->deleteBook("doomed", userBook("doomed"), blankIcon ? " " : cover("doomed")));
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

    void bookAwayStaysOnShelf()
    {
        QVERIFY(book(userBook("away"), "away", "Away"));
        start();
        markFirstPageAndLeave("away");
        const QString stored = m_root.path() + "/away.vbp";
        QVERIFY(QFile::rename(userBook("away"), stored));

        // Storage away across a restart: the book keeps its place and its
        // row; opening it fails and changes nothing.
        stop();
        start();
        QCOMPARE(m_shelf->openBook("away", userBook("away")), 2);
        QVERIFY(!m_reader->StartUpListView());
        m_shelf->updateBookList();
        QCOMPARE(shelfIds(), QStringList({"away"}));
        QCOMPARE(role(0, Model::BookNameRole).toString(), QStringLiteral("Away"));

        QVERIFY(QFile::rename(stored, userBook("away")));
        QCOMPARE(m_shelf->openBook("away", userBook("away")), 0);
        QCOMPARE(m_reader->GetFirstPageContent(), 0);
        QVERIFY(m_reader->IsBookMark());
    }

    void sortOrder()
    {
        QVERIFY(book(userBook("b1"), "b1", "Zebra", "Adams"));
        QVERIFY(book(userBook("b2"), "b2", "Apple", "Young"));
        QVERIFY(book(userBook("b3"), "b3", "Mango", "Miller"));
        start();
        QCOMPARE(m_shelf->getOrderBookIndex(), 2);
        m_shelf->handleOrderPopup(0); // by author, as the statement orders it: descending
        QCOMPARE(shelfIds(), QStringList({"b2", "b3", "b1"}));
        m_shelf->handleOrderPopup(1); // by name, descending
        QCOMPARE(shelfIds(), QStringList({"b1", "b3", "b2"}));
        m_shelf->handleOrderPopup(7);
        QCOMPARE(m_shelf->getOrderBookIndex(), 1);

        // The order survives a restart.
        stop();
        start();
        QCOMPARE(m_shelf->getOrderBookIndex(), 1);
        m_shelf->updateBookList();
        QCOMPARE(shelfIds(), QStringList({"b1", "b3", "b2"}));
        m_shelf->handleOrderPopup(2);
        QCOMPARE(shelfIds(), QStringList({"b1", "b2", "b3"}));

        // Emptying the manager's list leaves the model's own copy alone.
        m_shelf->clearBookShelfList();
        QCOMPARE(m_mgr->GetListData()->size(), 0);
        QCOMPARE(m_shelf->shelfModel()->rowCount(), 3);
    }

    // The size and the title as the shelf shows them.
    void shownText_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("expected");
        const auto size = [](uint kb) { return Model::convertSizeToString(kb); };
        QTest::newRow("999") << size(999) << "999KB";
        QTest::newRow("1000") << size(1000) << "0.9MB";
        QTest::newRow("1020") << size(1020) << "1.0MB";
        QTest::newRow("1500") << size(1500) << "1.4MB";
        QTest::newRow("max") << size(4294967295u) << "4210752.2MB";
        const QString pair = QString::fromUcs4(U"\U00020000");
        const auto title = [](const QString &t) { return Model::shortBookName(t); };
        QTest::newRow("12 whole") << title("abcdefghijkl") << "abcdefghijkl";
        QTest::newRow("13 cut") << title("abcdefghijklm") << "abcdefghij...";
        QTest::newRow("pairs 12") << title(pair.repeated(12)) << pair.repeated(12);
        QTest::newRow("pairs 13") << title(pair.repeated(13)) << pair.repeated(10) + "...";
    }

    void shownText()
    {
        QFETCH(QString, shown);
        QTEST(shown, "expected");
    }

    void modelRows()
    {
        Model model;
        MyBookInfoItem item;
        QVERIFY(!model.insertItem(1, &item));
        QVERIFY(!model.insertItem(0, nullptr));
        QVERIFY(model.insertItem(0, &item));
        QVERIFY(!model.data(model.index(1), Model::BookIdRole).isValid());
        QVERIFY(!model.deleteItem(1));
        QVERIFY(model.deleteItem(0));
        model.updateItemList(nullptr);
        QCOMPARE(model.rowCount(), 0);
    }

    void diskSpace()
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

    void registersForScreens()
    {
        QVERIFY(book(userBook("qml"), "qml"));
        start();
        QQuickView view;
        m_shelf->setDeclarativeView(view);
        QQmlComponent component(view.engine());
        component.setData("import QtQml\n"
                          "QtObject {\n"
                          "  property int order: myBookShelf.getOrderBookIndex()\n"
                          "  property int rows: { myBookShelf.updateBookList(); return "
                          "shelfListModel.rowCount() }\n"
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

private:
    void start()
    {
        // The order the program builds them in: the first database engine
        // creates the file, the shelf scans while it is built.
        m_db = std::make_unique<VorelEBookDatabaseEngine>();
        m_reader = std::make_unique<VEBookReader>();
        VorelEBookDatabaseEngine *db = m_db.get();
        m_reader->SetDBEngine(db);
        m_mgr = std::make_unique<VorelEBookShelfMgr>();
        m_shelf = std::make_unique<MyBookShelf>(*m_mgr, *m_reader);
    }
    // Leaves a stored position and a bookmark behind.
    void markFirstPageAndLeave(const QString &id)
    {
        QCOMPARE(m_shelf->openBook(id, userBook(id)), 0);
        QCOMPARE(m_reader->GetFirstPageContent(), 0);
        QVERIFY(m_reader->SaveBookMrak());
        QVERIFY(m_reader->StartUpListView());
    }
    void stop()
    {
        m_shelf.reset();
        m_mgr.reset();
        m_reader.reset();
        m_db.reset();
    }
    QVariant role(int row, int role) const
    {
        return m_shelf->shelfModel()->data(m_shelf->shelfModel()->index(row), role);
    }
    QStringList shelfIds() const
    {
        QStringList ids;
        for (int i = 0; i < m_shelf->shelfModel()->rowCount(); ++i)
            ids.append(role(i, Model::BookIdRole).toString());
        return ids;
    }

    QTemporaryDir m_root;
    std::unique_ptr<VorelEBookDatabaseEngine> m_db;
    std::unique_ptr<VEBookReader> m_reader;
    std::unique_ptr<VorelEBookShelfMgr> m_mgr;
    std::unique_ptr<MyBookShelf> m_shelf;
};

QTEST_MAIN(TestMyBookShelf)
#include "tst_mybookshelf.moc"
