#include "downloadcentermodel.h"
#include "downloadmng.h"
#include "enginetestkit.h"
#include "packageserver.h"
#include "testdataroot.h"

#include <QDirIterator>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace enginetest;

// The download engine against a scripted HTTP server on loopback: the queue
// rules, resuming, start-up, and answers that must not damage a package.
class TestDownloadEngine : public QObject
{
    Q_OBJECT
    enum Setup
    {
        Downloading,
        Waiting,
        Paused,
        Failed
    };

    TestDataRoot m_root;
    std::unique_ptr<PackageServer> m_server;
    std::unique_ptr<DownLoadMng> m_engine;
    std::unique_ptr<QSignalSpy> m_finished;

    // The engine as the program makes it at start-up, over the current root.
    void startEngine()
    {
        m_finished.reset();
        m_engine = std::make_unique<DownLoadMng>();
        m_finished =
            std::make_unique<QSignalSpy>(m_engine.get(), &DownLoadMng::downloadFinishedResponse);
    }
    QString link(const QString &cid) const { return m_server->link(cid.toLatin1() + ".vbp", cid); }
    void order(const QString &cid)
    {
        QVERIFY(m_engine->NewDownloandTask(link(cid), "u100", cid, "测试书 " + cid));
    }
    void serve(const QString &cid, const QByteArray &bytes)
    {
        m_server->setPackage(cid.toLatin1() + ".vbp", bytes, '"' + cid.toLatin1() + '"');
    }
    // The value of role in the task's row; -1 when the task has no row.
    int state(const QString &cid, int role = DownloadCenterModel::DownloadStateRole) const
    {
        const DownloadCenterModel *model = m_engine->centerModel();
        const int r = model->rowOfCID(cid + ".vbp");
        return r < 0 ? -1 : model->data(model->index(r), role).toInt();
    }
    // "file name:state" of every row, in row order.
    QStringList rows() const
    {
        const DownloadCenterModel *model = m_engine->centerModel();
        QStringList all;
        for (int r = 0; r < model->rowCount(); ++r)
            all << model->data(model->index(r), DownloadCenterModel::CidRole).toString() + ':' +
                       model->data(model->index(r), DownloadCenterModel::DownloadStateRole)
                           .toString();
        return all;
    }
    QStringList finished() const
    {
        QStringList names;
        for (const QList<QVariant> &arguments : std::as_const(*m_finished))
            names << arguments.at(0).toString();
        return names;
    }
    QByteArray lastRangeAsked(const QString &cid) const
    {
        const auto asked = m_server->requestsFor(cid.toLatin1() + ".vbp");
        return asked.isEmpty() ? QByteArray() : asked.last().headers.value("range");
    }
    // Files under the data root other than the task store's.
    QStringList filesOutsideStore() const
    {
        QStringList files;
        QDirIterator it(m_root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (!file.startsWith(DbFolder + '/'))
                files << file;
        }
        return files;
    }

private slots:
    void init()
    {
        QVERIFY(m_root.renew());
        m_server = std::make_unique<PackageServer>();
        QVERIFY(m_server->start());
    }
    void cleanup()
    {
        m_finished.reset();
        m_engine.reset();
        m_server.reset();
    }

    void queueJourney()
    {
        const QStringList cids{"alpha", "beta", "gamma", "delta"};
        // alpha is long enough to be paused well before its end.
        auto size = [](int i) { return i == 0 ? 256 * 1024 : 64 * 1024; };
        for (int i = 0; i < cids.size(); ++i)
            serve(cids[i], packageBytes(size(i), i));
        m_server->setPace(2048, 10);
        startEngine();
        for (const QString &cid : cids)
            order(cid);
        QCOMPARE(rows(), QStringList({"alpha.vbp:1", "beta.vbp:5", "gamma.vbp:5", "delta.vbp:5"}));

        // Deleting a waiting task takes its row, record and file, and leaves the
        // running transfer alone.
        m_engine->RemoveTask(QStringLiteral("gamma.vbp"), QString());
        QCOMPARE(rows(), QStringList({"alpha.vbp:1", "beta.vbp:5", "delta.vbp:5"}));
        QVERIFY(storedTask("gamma").m_fileName.isEmpty());
        QVERIFY(!QFileInfo::exists(partialPath("gamma")));

        // Pausing the running task starts the first waiting one.
        QTRY_VERIFY(partialSize("alpha") > 0);
        m_engine->PauseTask(QString(), link("alpha"));
        const qint64 held = partialSize("alpha");
        QCOMPARE(state("alpha"), int(DLFileInfo::EPause));
        QTRY_COMPARE(m_server->requestsFor("beta.vbp").size(), 1);

        // A task completing in the middle of the list takes only its own row.
        QTRY_COMPARE(finished(), QStringList({"beta.vbp"}));
        QCOMPARE(rows(), QStringList({"alpha.vbp:2", "delta.vbp:1"}));

        // Resumed while another downloads: it waits, then goes on from its bytes.
        m_engine->ReStartTask(QStringLiteral("alpha.vbp"), QString());
        QCOMPARE(state("alpha"), int(DLFileInfo::EWaiting));
        QTRY_COMPARE(finished(), QStringList({"beta.vbp", "delta.vbp", "alpha.vbp"}));
        QCOMPARE(lastRangeAsked("alpha"), "bytes=" + QByteArray::number(held) + '-');
        QCOMPARE(m_server->requestsFor("alpha.vbp").last().headers.value("if-range"), "\"alpha\"");
        QCOMPARE(m_server->requests.size(), 4);
        QCOMPARE(storedTask("alpha").m_totalSize, size(0));
        for (int i : {0, 1, 3})
            QCOMPARE(readFile(packagePath(cids[i])), packageBytes(size(i), i));
        QCOMPARE(m_engine->centerModel()->rowCount(), 0);
    }

    void answers_data()
    {
        QTest::addColumn<int>("partial");  // bytes of v1 held before; -1: a new order
        QTest::addColumn<bool>("changed"); // the server holds v2
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("outcome"); // the package version in place; 0: failed

        QTest::newRow("resume: 206 from the partial size") << 20000 << false << 0 << 1;
        QTest::newRow("resume: 200 starts over")
            << 20000 << false << int(PackageServer::WholeOnResume) << 1;
        QTest::newRow("resume: 206 from elsewhere")
            << 20000 << false << int(PackageServer::WrongRangeStart) << 0;
        QTest::newRow("resume: package changed on the server") << 20000 << true << 0 << 2;
        QTest::newRow("resume: partial already whole") << 65536 << false << 0 << 1;
        QTest::newRow("resume: server error")
            << 20000 << false << int(PackageServer::ServerError) << 0;
        QTest::newRow("new: body cut short") << -1 << false << int(PackageServer::ShortBody) << 0;
        QTest::newRow("new: larger total announced")
            << -1 << false << int(PackageServer::LargerTotal) << 0;
    }

    void answers()
    {
        QFETCH(int, partial);
        QFETCH(bool, changed);
        QFETCH(int, fault);
        QFETCH(int, outcome);
        const QByteArray v1 = packageBytes(65536, 1);
        const QByteArray v2 = packageBytes(70000, 2);
        m_server->setPackage("book.vbp", changed ? v2 : v1, changed ? "\"v2\"" : "\"v1\"");
        m_server->setFault(PackageServer::Fault(fault));
        if (partial >= 0)
            QVERIFY(seedTask("book", link("book"), DLFileInfo::EPause, v1.left(partial), v1.size(),
                             "\"v1\""));
        startEngine();
        if (partial >= 0)
            m_engine->ReStartTask(QStringLiteral("book.vbp"), QString());
        else
            order("book");

        QTRY_VERIFY(!m_finished->isEmpty() || state("book") == DLFileInfo::EFailed);
        const PackageServer::Request asked = m_server->requests.value(0);
        QCOMPARE(asked.headers.value("range"),
                 "bytes=" + QByteArray::number(qMax(partial, 0)) + '-');
        QCOMPARE(asked.headers.value("if-range"), partial > 0 ? "\"v1\"" : "");
        if (outcome == 0) {
            QCOMPARE(state("book"), int(DLFileInfo::EFailed));
            QVERIFY(!QFileInfo::exists(packagePath("book")));
            if (partial >= 0)
                QCOMPARE(readFile(partialPath("book")), v1.left(partial));
            return;
        }
        QCOMPARE(readFile(packagePath("book")), outcome == 1 ? v1 : v2);
        QVERIFY(!QFileInfo::exists(partialPath("book")));
    }

    void unusableCid_data()
    {
        QTest::addColumn<QString>("query");
        QTest::newRow("no cid") << "id=book";
        QTest::newRow("empty") << "cid=";
        QTest::newRow("parent folder") << "cid=../book";
        QTest::newRow("only dots") << "cid=..";
        QTest::newRow("slash") << "cid=a/book";
        QTest::newRow("encoded slash") << "cid=a%2Fbook";
        QTest::newRow("backslash") << "cid=a\\book";
        QTest::newRow("encoded dots") << "cid=%2E%2E%2Fbook";
    }

    void unusableCid()
    {
        QFETCH(QString, query);
        serve(QStringLiteral("book"), packageBytes(1000, 1));
        startEngine();
        const QString bad = QStringLiteral("http://127.0.0.1:%1/book.vbp?%2")
                                .arg(m_server->serverPort())
                                .arg(query);
        QVERIFY(!m_engine->NewDownloandTask(bad, QStringLiteral("u100"), QStringLiteral("book"),
                                            QStringLiteral("测试书")));
        QCOMPARE(m_engine->centerModel()->rowCount(), 0);
        QCOMPARE(filesOutsideStore(), QStringList());
        QVERIFY(storedTask("book").m_fileName.isEmpty());
    }

    void oneTaskPerPackage_data()
    {
        QTest::addColumn<int>("setup");
        QTest::addColumn<int>("stateAfter"); // after the second order
        QTest::addColumn<int>("requests");   // for the book in all

        QTest::newRow("downloading") << int(Downloading) << int(DLFileInfo::EDownLoading) << 1;
        QTest::newRow("waiting") << int(Waiting) << int(DLFileInfo::EWaiting) << 1;
        QTest::newRow("paused") << int(Paused) << int(DLFileInfo::EDownLoading) << 2;
        QTest::newRow("failed") << int(Failed) << int(DLFileInfo::EDownLoading) << 2;
    }

    void oneTaskPerPackage()
    {
        QFETCH(int, setup);
        QFETCH(int, stateAfter);
        QFETCH(int, requests);
        const QByteArray bytes = packageBytes(160 * 1024, 3);
        serve(QStringLiteral("book"), bytes);
        serve(QStringLiteral("other"), packageBytes(64 * 1024, 4));
        m_server->setPace(2048, 10);
        startEngine();
        if (setup == Waiting)
            order("other");
        if (setup == Failed)
            m_server->setFault(PackageServer::ServerError);
        order("book");
        if (setup == Failed) {
            QTRY_COMPARE(state("book"), int(DLFileInfo::EFailed));
            m_server->setFault(PackageServer::NoFault);
        } else if (setup != Waiting) {
            QTRY_VERIFY(partialSize("book") > 0);
        }
        if (setup == Paused)
            m_engine->PauseTask(QString(), link("book"));
        const int rowsBefore = m_engine->centerModel()->rowCount();

        order("book");
        QCOMPARE(m_engine->centerModel()->rowCount(), rowsBefore);
        QCOMPARE(state("book"), stateAfter);
        QTRY_VERIFY(finished().contains("book.vbp"));
        QCOMPARE(m_server->requestsFor("book.vbp").size(), requests);
        QCOMPARE(readFile(packagePath("book")), bytes);
        QVERIFY(!m_engine->GetBookDownloadState(QStringLiteral("book")));
    }

    void startUp_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("partial");
        QTest::addColumn<int>("shown"); // row state at start-up; -1: dropped

        QTest::newRow("downloading, partial kept")
            << int(DLFileInfo::EDownLoading) << true << int(DLFileInfo::EWaiting);
        QTest::newRow("downloading, partial gone") << int(DLFileInfo::EDownLoading) << false << -1;
        QTest::newRow("failed, partial kept")
            << int(DLFileInfo::EFailed) << true << int(DLFileInfo::EWaiting);
        QTest::newRow("failed, partial gone") << int(DLFileInfo::EFailed) << false << -1;
        QTest::newRow("paused, partial gone")
            << int(DLFileInfo::EPause) << false << int(DLFileInfo::EPause);
    }

    void startUp()
    {
        QFETCH(int, stored);
        QFETCH(bool, partial);
        QFETCH(int, shown);
        const QByteArray bytes = packageBytes(50000, 7);
        serve(QStringLiteral("book"), bytes);
        QVERIFY(seedTask("book", link("book"), DLFileInfo::State(stored),
                         partial ? bytes.left(20000) : QByteArray(), bytes.size(), "\"book\""));
        startEngine();
        QCOMPARE(state("book"), shown);
        QCOMPARE(m_engine->GetBookDownloadState(QStringLiteral("book")), shown != -1);

        m_engine->AutomaticDownloadTask();
        if (shown != DLFileInfo::EWaiting) {
            // Nothing was started: a transfer would have opened a partial file.
            QVERIFY(!QFileInfo::exists(partialPath("book")));
            return;
        }
        QTRY_COMPARE(finished(), QStringList({"book.vbp"}));
        QCOMPARE(lastRangeAsked("book"), QByteArray("bytes=20000-"));
        QCOMPARE(readFile(packagePath("book")), bytes);
    }

    // One package over a slow link with something in its way: it ends whole
    // in place, or failed with its bytes kept.
    void oneBook_data()
    {
        QTest::addColumn<QString>("twist");
        QTest::newRow("package name taken by a folder") << "folder";
        QTest::newRow("downloaded before: replaced in one step") << "old package";
        QTest::newRow("server stops and comes back") << "server stops";
        QTest::newRow("no total announced") << "no length";
    }

    void oneBook()
    {
        QFETCH(QString, twist);
        const QByteArray bytes = packageBytes(160 * 1024, 5);
        const QByteArray old = packageBytes(1000, 6);
        serve(QStringLiteral("book"), bytes);
        m_server->setPace(2048, 10);
        if (twist == "folder")
            QVERIFY(QDir().mkpath(packagePath("book") + "/inside"));
        if (twist == "old package") {
            QVERIFY(writeFile(packagePath("book"), old));
            QVERIFY(seedTask("book", link("book"), DLFileInfo::EComplete, QByteArray(), old.size(),
                             QString()));
        }
        if (twist == "no length")
            m_server->setFault(PackageServer::NoLength);
        startEngine();
        order("book");
        QTRY_VERIFY(partialSize("book") > 0);
        if (twist == "old package")
            QCOMPARE(readFile(packagePath("book")), old);
        if (twist == "no length") {
            // Progress reaches the row before the end, over a total shown as 1.
            QTRY_VERIFY(state("book", DownloadCenterModel::DownloadedSizeRole) > 0);
            QCOMPARE(state("book", DownloadCenterModel::BookTotalSizeRole), 1);
        }
        qint64 held = 0;
        if (twist == "server stops") {
            const quint16 port = m_server->serverPort();
            m_server->stop();
            QTRY_COMPARE(state("book"), int(DLFileInfo::EFailed));
            held = partialSize("book");
            QVERIFY(held > 0);
            // The server comes back: the automatic start lets the failed transfer go
            // and goes on from the partial file, without a restart of the program.
            QVERIFY(m_server->start(port));
            m_engine->AutomaticDownloadTask();
        }
        if (twist == "folder") {
            QTRY_COMPARE(state("book"), int(DLFileInfo::EFailed));
            QVERIFY(m_finished->isEmpty());
            QCOMPARE(readFile(partialPath("book")), bytes);
            QVERIFY(QFileInfo(packagePath("book")).isDir());
            return;
        }
        QTRY_COMPARE(finished(), QStringList({"book.vbp"}));
        QCOMPARE(readFile(packagePath("book")), bytes);
        if (held > 0)
            QCOMPARE(lastRangeAsked("book"), "bytes=" + QByteArray::number(held) + '-');
    }
};

QTEST_GUILESS_MAIN(TestDownloadEngine)
#include "tst_downloadengine.moc"
