#include "commondef.h"
#include "downloaddatastore.h"
#include "testdataroot.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <functional>
#include <memory>

namespace {

// Runs statements on the task file through a connection of its own, so checks
// do not go through the store; returns the first column of the last one's rows.
QStringList raw(const QStringList &statements)
{
    QStringList result;
    const QString name = QStringLiteral("raw-check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(DbFolder + "/downLoadStore.db");
        if (db.open()) {
            QSqlQuery query(db);
            for (const QString &statement : statements) {
                if (!statement.isEmpty() && !query.exec(statement))
                    result << "<error> " + statement;
            }
            while (query.next())
                result << query.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

// Every column of every row with its storage class, e.g. "integer:42".
QStringList dump(const QString &table)
{
    QStringList columns;
    for (const char *c : {"FileName", "FileUrl", "FileStye", "FileTolSize", "FileCurSize",
                          "FilePath", "FileState", "bookName", "picLink"})
        columns << QStringLiteral("typeof(%1)||':'||ifnull(%1,'')").arg(c);
    return raw({"select " + columns.join("||'|'||") + " from " + table + " order by FileName"});
}

QString fields(const DLFileInfo &t)
{
    return QStringList({t.m_fileName, t.m_url, t.m_stye, QString::number(t.m_totalSize),
                        QString::number(t.m_currentSize), t.m_filePath, QString::number(t.m_state),
                        t.m_bookName, t.m_picPath})
        .join('|');
}

DLFileInfo task(const QString &name, DLFileInfo::State state = DLFileInfo::EWaiting)
{
    return DLFileInfo(name, "http://127.0.0.1/get?cid=" + name, "vbp", 2048, 512, "/books", state,
                      "测试书 " + name, "http://127.0.0.1/cover/" + name);
}

std::unique_ptr<DownLoadDataStore> openStore()
{
    auto store = std::make_unique<DownLoadDataStore>();
    store->createConnection("QSQLITE", "downLoadStore.db");
    return store;
}

const QString TableSql = "CREATE TABLE DownLoadFiles( FileName varchar primary key,FileUrl "
                         "varchar,FileStye varchar,FileTolSize long,FileCurSize long,FilePath "
                         "varchar,FileState int,bookName varchar,picLink varchar)";
const QString InsertA =
    "insert into Ref(FileName, FileUrl, FileStye, FileTolSize,FileCurSize,FilePath, "
    "FileState,bookName,picLink)values('a.vbp','http://127.0.0.1/get?cid=a.vbp','vbp','2048',"
    "'512','/books','5','测试书 a.vbp','http://127.0.0.1/cover/a.vbp')";

// What each statement of the store does after task a.vbp is added, beside the
// same change written the way the store's statements have always been written:
// with quoted values. Storage classes and '' against NULL must not drift.
struct Statement
{
    const char *name;
    std::function<bool(DownLoadDataStore &)> run;
    QString quoted;
};

const QList<Statement> &statements()
{
    static const QList<Statement> list = {
        {"insert all", [](DownLoadDataStore &) { return true; }, QString()},
        {"insert seven, empty path",
         [](DownLoadDataStore &s) {
             return s.addRecord("b.vbp", "http://h/b", "vbp", 0, 0, QString(), 1);
         },
         "insert into Ref(FileName, FileUrl, FileStye, FileTolSize,FileCurSize,FilePath, "
         "FileState)values('b.vbp','http://h/b','vbp','0','0','','1')"},
        {"update all",
         [](DownLoadDataStore &s) {
             return s.upDateRecord(DLFileInfo("a.vbp", "http://h/a2", "vbp", 4096, 4000, "/other",
                                              DLFileInfo::EPause, "", "p"));
         },
         "update Ref set FileUrl = 'http://h/a2',FileStye = 'vbp',FileTolSize = "
         "'4096',FileCurSize ='4000',FilePath = '/other',FileState = '2',bookName = "
         "'',picLink = 'p'where FileName = 'a.vbp'"},
        {"update state",
         [](DownLoadDataStore &s) { return s.upDateRecord("a.vbp", DLFileInfo::EFailed); },
         "update Ref set FileState = '6'where FileName ='a.vbp'"},
        {"update current size",
         [](DownLoadDataStore &s) { return s.upDateRecord("a.vbp", qint64(5000000000)); },
         "update Ref set FileCurSize = '5000000000'where FileName ='a.vbp'"},
        {"delete", [](DownLoadDataStore &s) { return s.delRecord("a.vbp"); },
         "delete from Ref where FileName = 'a.vbp'"},
    };
    return list;
}

} // namespace

class TestDownLoadDataStore : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_root.renew()); }

    void freshDeviceGetsTheTaskTable()
    {
        QVERIFY(!QDir(DbFolder).exists());
        auto store = std::make_unique<DownLoadDataStore>();
        QVERIFY(store->createConnection("QSQLITE", "downLoadStore.db"));
        QCOMPARE(raw({"select sql from sqlite_master where name = 'DownLoadFiles'"}),
                 QStringList(TableSql));
        store.reset();
        // The table is there now: creating it again fails, the file is used.
        store = std::make_unique<DownLoadDataStore>();
        QVERIFY(!store->createConnection("QSQLITE", "downLoadStore.db"));
        QVERIFY(store->addRecord(task("a.vbp")));
    }

    void storesWhatQuotedStatementsStore_data()
    {
        QTest::addColumn<int>("which");
        for (int i = 0; i < statements().size(); ++i)
            QTest::newRow(statements().at(i).name) << i;
    }

    void storesWhatQuotedStatementsStore()
    {
        QFETCH(int, which);
        const Statement &statement = statements().at(which);
        auto store = openStore();
        QVERIFY(store->addRecord(task("a.vbp")) && statement.run(*store));
        QString ref = TableSql;
        raw({ref.replace("DownLoadFiles", "Ref"), InsertA, statement.quoted});
        QCOMPARE(dump("DownLoadFiles"), dump("Ref"));
    }

    void namesKeptVerbatim_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("bookName");
        QTest::addColumn<QString>("url");
        QTest::newRow("quotes") << "it's.vbp"
                                << "O'Neil's \"Book\""
                                << "http://h/a?b='1'&c=\"2\"";
        QTest::newRow("statement text") << "x'); drop table DownLoadFiles; --.vbp"
                                        << "'||'"
                                        << "http://h/?q=' or '1'='1";
        QTest::newRow("unicode") << "测试书.vbp"
                                 << "書名 📚 ç"
                                 << "http://h/路径?cid=测试";
    }

    void namesKeptVerbatim()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, bookName);
        QFETCH(QString, url);
        auto store = openStore();
        DLFileInfo t = task(fileName);
        t.m_bookName = bookName;
        t.m_url = url;
        QVERIFY(store->addRecord(t));
        QVERIFY(store->addRecord(task("other.vbp")));
        t.m_currentSize = 2000;
        QVERIFY(store->upDateRecord(t));
        QVERIFY(store->upDateRecord(fileName, int(DLFileInfo::EPause)));
        t.m_state = DLFileInfo::EPause;
        QVERIFY(store->setValidator(fileName, "\"it's-" + bookName + "\""));

        QVERIFY(store->isExist(fileName));
        DLFileInfo read;
        QVERIFY(store->getRecordByFileName(read, fileName));
        QCOMPARE(fields(read), fields(t));
        QCOMPARE(store->validator(fileName), "\"it's-" + bookName + "\"");

        QVERIFY(store->delRecord(fileName));
        QVERIFY(!store->isExist(fileName));
        QVERIFY(store->validator(fileName).isEmpty());
        QVERIFY(store->isExist("other.vbp"));
    }

    void restartKeepsTasks()
    {
        auto first = openStore();
        QVERIFY(first->addRecord(task("1.vbp", DLFileInfo::EDownLoading)));
        QVERIFY(first->addRecord(task("2.vbp")));
        QVERIFY(first->addRecord("3.vbp", "http://h/3", "vbp", 0, 0, "/books", 5));
        QVERIFY(first->setValidator("1.vbp", "\"5f1-800\""));
        QVERIFY(first->setValidator("1.vbp", "\"5f1-801\"")); // replaced, not added
        QVERIFY(first->setValidator("2.vbp", "\"aa\""));
        QVERIFY(first->upDateRecord("1.vbp", qint64(1500)));
        DLFileInfo one = task("1.vbp", DLFileInfo::EPause);
        one.m_currentSize = 1700;
        DLFileInfo two = task("2.vbp", DLFileInfo::EFailed);
        two.m_totalSize = 3000000000;
        QVERIFY(first->upDateRecord(QList<DLFileInfo *>{&one, &two}));

        // Another store open at the same time sees the same tasks.
        auto second = openStore();
        QCOMPARE(second->getStateByFileName("2.vbp"), int(DLFileInfo::EFailed));
        first.reset();
        QVERIFY(second->delRecord("2.vbp"));
        second.reset();

        auto third = openStore();
        QList<DLFileInfo *> tasks;
        QVERIFY(third->getAllRecords(tasks));
        QStringList got;
        for (DLFileInfo *t : tasks)
            got << fields(*t);
        qDeleteAll(tasks);
        const DLFileInfo three("3.vbp", "http://h/3", "vbp", 0, 0, "/books", DLFileInfo::EWaiting,
                               "", "");
        QCOMPARE(got, QStringList({fields(one), fields(three)}));
        QCOMPARE(third->validator("1.vbp"), "\"5f1-801\"");
        QVERIFY(third->validator("2.vbp").isEmpty());
        QCOMPARE(raw({"select count(*) from DownLoadValidators"}), QStringList("1"));

        QVERIFY(third->closeDataBase());
        QVERIFY(!third->isExist("1.vbp"));
    }

    void missingAndDuplicateTasks()
    {
        auto store = openStore();
        QVERIFY(!store->CheckDBExisted());
        QCOMPARE(store->getStateByFileName("none.vbp"), -1);
        QVERIFY(!store->isExist("none.vbp"));
        DLFileInfo untouched = task("keep.vbp");
        QVERIFY(store->getRecordByFileName(untouched, "none.vbp"));
        QCOMPARE(fields(untouched), fields(task("keep.vbp")));

        // A second task under a stored name fails on the key and changes nothing.
        QVERIFY(store->addRecord(task("a.vbp", DLFileInfo::EComplete)));
        QVERIFY(!store->addRecord(task("a.vbp", DLFileInfo::EWaiting)));
        QVERIFY(!store->addRecord("a.vbp", "u", "vbp", 1, 1, "/p", 1));
        QCOMPARE(store->getStateByFileName("a.vbp"), int(DLFileInfo::EComplete));
    }

    void unopenableFileFailsCleanly()
    {
        // A file where the database folder should be: nothing can be opened.
        QVERIFY(QFile(m_root.filePath("opt")).open(QIODevice::WriteOnly));
        DownLoadDataStore store;
        QVERIFY(!store.createConnection("QSQLITE", "downLoadStore.db"));
        DLFileInfo t = task("a.vbp");
        QVERIFY(!store.addRecord(t));
        QVERIFY(!store.upDateRecord(t));
        QVERIFY(!store.setValidator("a.vbp", "v"));
        QCOMPARE(store.getStateByFileName("a.vbp"), -1);
        QList<DLFileInfo *> tasks;
        QVERIFY(!store.getAllRecords(tasks));
        QVERIFY(tasks.isEmpty());
    }

private:
    TestDataRoot m_root;
};

QTEST_GUILESS_MAIN(TestDownLoadDataStore)
#include "tst_downloaddatastore.moc"
