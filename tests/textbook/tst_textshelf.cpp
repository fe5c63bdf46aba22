// The user's own text books on the shelf: packed at the scan, read, changed,
// packed again under the same id with the reading position kept, and the
// text itself never touched.

#include "bookpacker.h"
#include "commondef.h"
#include "mybookshelf.h"
#include "mybookshelfabstractmodel.h"
#include "testdataroot.h"
#include "textbookimporter.h"
#include "textbooktest.h"
#include "vebookreader.h"
#include "vorelebookdatabaseengine.h"
#include "vorelebookshelfmgr.h"

#include <QtTest>
#include <memory>

using Model = MyBookShelfAbstractModel;

namespace {

// The engines as the program builds them: the first database engine makes
// the file, the shelf scans the folders while it is built. Torn down in
// reverse, like a restart.
struct Program
{
    Program() { reader.SetDBEngine(dbEngine); }

    VorelEBookDatabaseEngine db;
    VorelEBookDatabaseEngine *dbEngine = &db;
    VEBookReader reader;
    VorelEBookShelfMgr mgr;
    MyBookShelf shelf{mgr, reader};

    QVariant role(int row, int role) const
    {
        return shelf.shelfModel()->data(shelf.shelfModel()->index(row), role);
    }
    int rowOf(const QString &id) const
    {
        const QModelIndexList found = shelf.shelfModel()->match(
            shelf.shelfModel()->index(0), Model::BookIdRole, id, 1, Qt::MatchExactly);
        return found.isEmpty() ? -1 : found.first().row();
    }
};

} // namespace

class TstTextShelf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        SKIP_WITHOUT_CORPUS();
        QVERIFY(m_root.renew());
        QVERIFY(QDir().mkpath(UserBookFolder));
    }

    void readChangeAndRescan()
    {
        // The Analects in GB18030 under a Chinese file name; a binary that is
        // refused; a text whose package name a store book already has.
        const QList<CorpusPiece> books = PoetryCorpus::lunyu();
        const QString txt = UserBookFolder + "/论语.txt";
        QByteArray bytes = gb18030(PoetryCorpus::chapters(books.mid(0, 19)).join(QString()));
        QVERIFY(writeBytes(txt, bytes));
        QVERIFY(
            writeBytes(UserBookFolder + "/broken.txt", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)));
        const QString storeBook = UserBookFolder + "/12345.vbp";
        const QByteArray store =
            BookPacker({"12345", "Store", "A", {}, {}, {{"One", "x"}}}).toBytes();
        QVERIFY(writeBytes(storeBook, store));
        QVERIFY(writeBytes(UserBookFolder + "/12345.txt", "第一章\n子曰。\n"));

        auto program = std::make_unique<Program>();
        program->shelf.updateBookList();
        QCOMPARE(program->shelf.shelfModel()->rowCount(), 2);
        const QString id = TextBookImporter::bookIdFor(txt);
        const int row = program->rowOf(id);
        QVERIFY(row >= 0 && id.startsWith("txt-"));
        const QString vbp = program->role(row, Model::BookPathRole).toString();
        QCOMPARE(QFileInfo(vbp).absolutePath(), QFileInfo(txt).absolutePath());
        QCOMPARE(program->role(row, Model::BookNameRole).toString(), QStringLiteral("论语"));

        // Read into the second chapter and leave the page.
        QCOMPARE(program->shelf.openBook(id, vbp), 0);
        QCOMPARE(program->reader.GetFirstPageContent(), 0);
        VorelEBookChapterItemData mark;
        while (mark.m_bookChapterId != "c0002" || mark.m_bookReadingPageNum < 2) {
            QCOMPARE(program->reader.GetNextOnePageContent(), 0);
            QVERIFY(program->reader.StartUpListView());
            QVERIFY(program->mgr.GetChapterMark(id, mark));
        }
        QCOMPARE(mark.m_bookChapterName, "第二章 " + books.at(1).title);
        const QString line = program->reader.GetOneLineContent(0);

        // A restart with nothing changed writes nothing.
        const QDateTime packed = QFileInfo(vbp).lastModified();
        const qint64 size = QFileInfo(vbp).size();
        program.reset();
        program = std::make_unique<Program>();
        QCOMPARE(QFileInfo(vbp).lastModified(), packed);

        // The last book added: packed again under the same id, same place.
        program.reset();
        bytes = gb18030(PoetryCorpus::chapters(books).join(QString()));
        QVERIFY(writeBytes(txt, bytes));
        program = std::make_unique<Program>();
        QVERIFY(QFileInfo(vbp).size() > size);
        program->shelf.updateBookList();
        QCOMPARE(program->shelf.shelfModel()->rowCount(), 2);
        const uint kb = uint(QFileInfo(vbp).size() / 1024);
        QCOMPARE(program->role(program->rowOf(id), Model::BookSizeRole).toString(),
                 Model::convertSizeToString(kb));
        QCOMPARE(program->shelf.openBook(id, vbp), 0);
        QCOMPARE(program->reader.GetFirstPageContent(), 0);
        QCOMPARE(program->reader.GetOneLineContent(0), line);

        // The texts are untouched, the refused one made nothing, the store book stays.
        QCOMPARE(readBytes(txt), bytes);
        QVERIFY(!QFile::exists(UserBookFolder + "/broken.vbp"));
        QCOMPARE(readBytes(storeBook), store);
    }

private:
    TestDataRoot m_root;
};

QTEST_MAIN(TstTextShelf)
#include "tst_textshelf.moc"
