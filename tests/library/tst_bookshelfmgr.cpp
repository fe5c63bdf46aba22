#include "librarytestdb.h"
#include "testdataroot.h"
#include "vorelebookdatabaseengine.h"
#include "vorelebookshelfmgr.h"

#include <QQmlContext>
#include <QQuickView>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

VorelEBookItemData book(const QString &id, const QString &name, const QString &author = {},
                        uint read = 0)
{
    VorelEBookItemData item(id, read, 0, name, QString());
    item.m_bookAuthor = author;
    return item;
}

QStringList ids(const QList<VorelEBookItemData> *books)
{
    QStringList result;
    for (const VorelEBookItemData &b : books ? *books : QList<VorelEBookItemData>())
        result << b.m_bookId;
    return result;
}

} // namespace

// Stands in for the download engine: only its finish notice matters here.
class DownloadNotices : public QObject
{
    Q_OBJECT
signals:
    void downloadFinishedResponse(QString fileName, QString filePath);
};

class TestBookShelfMgr : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_root.renew()); }

    void sortOrderPersists_data()
    {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("order");
        // Starting from the by-name order (2). Titles Z, M, A and authors A, B, C
        // for ids 1, 2, 3, and book 2 read, so each order is distinct.
        const QStringList byName = {"1", "2", "3"};
        QTest::newRow("by name") << "name" << 2 << byName;
        QTest::newRow("by author") << "author" << 1 << QStringList{"3", "2", "1"};
        QTest::newRow("by id") << "id" << 0 << QStringList{"2", "1", "3"};
        QTest::newRow("by reading date keeps order") << "reading" << 2 << byName;
        QTest::newRow("by download date keeps order") << "download" << 2 << byName;
    }

    void sortOrderPersists()
    {
        QFETCH(QString, sort);
        QFETCH(int, state);
        QFETCH(QStringList, order);
        {
            VorelEBookShelfMgr mgr;
            QVERIFY(mgr.AddEBookInfo(book("1", "Z", "A")));
            QVERIFY(mgr.AddEBookInfo(book("2", "M", "B", 500)));
            QVERIFY(mgr.AddEBookInfo(book("3", "A", "C")));
            QVERIFY(mgr.SortEBookItemByBookName());
            const QHash<QString, bool (VorelEBookShelfMgr::*)()> sorts{
                {"name", &VorelEBookShelfMgr::SortEBookItemByBookName},
                {"author", &VorelEBookShelfMgr::SortEBookItemByAuthor},
                {"id", &VorelEBookShelfMgr::SortEBookItemById},
                {"reading", &VorelEBookShelfMgr::SortEBookItemByReadingDate},
                {"download", &VorelEBookShelfMgr::SortEBookItemByDownloadingDate}};
            QVERIFY((mgr.*sorts.value(sort))());
            QCOMPARE(mgr.GetListData()->size(), 3);
        }
        // One sort row only, rewritten in place.
        QCOMPARE(rawColumn("SELECT stateid || ',' || sortType FROM BookSortState"),
                 QStringList(QString("0,%1").arg(state)));
        VorelEBookShelfMgr restarted;
        BookSortState persisted = EBookName;
        QVERIFY(restarted.GetBookSortState(persisted));
        QCOMPARE(int(persisted), state);
        QVERIFY(restarted.GetBookList());
        QCOMPARE(ids(restarted.GetListData()), order);
    }

    // The listing then falls back to the default order (checked on the database).
    void storedOrderOutOfRangeIsIgnored()
    {
        VorelEBookShelfMgr mgr;
        QVERIFY(VorelEBookDatabaseEngine().UpdateBookSortState(0, 9));
        BookSortState state = EAuthor;
        QVERIFY(mgr.GetBookSortState(state));
        QCOMPARE(state, EAuthor);
    }

    void deleteRemovesEveryRow()
    {
        VorelEBookShelfMgr mgr;
        VorelEBookDatabaseEngine engine;
        for (const char *id : {"gone", "stays"}) {
            QVERIFY(mgr.AddEBookInfo(book(id, id)));
            QVERIFY(mgr.AddEBookChapterItem(id, VorelEBookChapterItemData("c1", 2, "One")));
            for (int page = 0; page < 3; ++page)
                QVERIFY(engine.AddMarkRelation(
                    {id, id, "c1", page, "One", 1, "mark", QDateTime::currentDateTime()}));
        }
        QVERIFY(mgr.DeleteEBookItem("gone"));
        for (const char *table : {"DBBookTable", "DBBookContentTable", "BookMarkRelation"}) {
            QCOMPARE(rowsOf(table, "gone"), 0);
            QVERIFY(rowsOf(table, "stays") > 0);
        }
        QCOMPARE(ids(mgr.GetListData()), QStringList("stays"));
    }

    // A finished download is announced by book id: the file name without its final ".vbp".
    void downloadRelay_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("bookId");
        QTest::newRow("package") << QString("12345.vbp") << QString("12345");
        QTest::newRow("no point") << QString("12345") << QString("12345");
        QTest::newRow("several points") << QString("12.345.vbp") << QString("12.345");
    }

    void downloadRelay()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, bookId);
        VorelEBookShelfMgr mgr;
        DownloadNotices downloads;
        mgr.setDownloadManager(&downloads);
        QSignalSpy relayed(&mgr, &VorelEBookShelfMgr::scanNewBookUpdateBookshelf);
        emit downloads.downloadFinishedResponse(fileName, "/folder");
        QCOMPARE(relayed.size(), 1);
        QCOMPARE(relayed.at(0), QVariantList({bookId, "/folder"}));
    }

    // The screens must not keep a pointer to a manager that is gone.
    void registersOnTheView()
    {
        QQuickView view;
        auto mgr = std::make_unique<VorelEBookShelfMgr>();
        mgr->setDeclarativeView(view);
        QCOMPARE(view.rootContext()->contextProperty("bookshelfMgrModel").value<QObject *>(),
                 mgr.get());
        mgr.reset();
        const QVariant after = view.rootContext()->contextProperty("bookshelfMgrModel");
        QVERIFY(after.isValid() && after.value<QObject *>() == nullptr);
    }

private:
    TestDataRoot m_root;
};

QTEST_MAIN(TestBookShelfMgr)
#include "tst_bookshelfmgr.moc"
