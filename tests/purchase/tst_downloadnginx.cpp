#include "bookpacker.h"
#include "downloadmng.h"
#include "enginetestkit.h"
#include "nginxprocess.h"
#include "testdataroot.h"
#include "vbpreader.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace enginetest;

namespace {

QByteArray sha256(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray();
    return hash.result().toHex();
}

// A real book package of about megabytes MB: generated text in chapters of
// one million characters (two bytes each).
bool packBigBook(const QString &path, const QString &id, int megabytes)
{
    BookSource source{id, QStringLiteral("测试大书"), QStringLiteral("测试作者"), {}, {}, {}};
    QRandomGenerator generator(20261207);
    for (int c = 0; c < megabytes / 2; ++c) {
        QString text(1000000, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] =
                i % 41 == 40 ? QChar('\n') : QChar(char16_t(0x4E00 + generator.bounded(4000)));
        source.chapters.append({QStringLiteral("第%1章").arg(c + 1), text});
    }
    return BookPacker(source).writeTo(path);
}

} // namespace

// The download engine against nginx: resuming over real ranges and ETags,
// and a download that survives being killed again and again.
class TestDownloadNginx : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void resume_data();
    void resume();
    void killedAndRestarted();

private:
    QString link(const QString &cid) const
    {
        return m_nginx.baseUrl() + cid + QStringLiteral(".vbp?cid=") + cid;
    }

    QTemporaryDir m_served;
    NginxProcess m_nginx;
    TestDataRoot m_root;
};

void TestDownloadNginx::initTestCase()
{
    if (!NginxProcess::missing().isEmpty())
        QSKIP(qPrintable(NginxProcess::missing()));
    QVERIFY(m_served.isValid());
}

void TestDownloadNginx::init()
{
    QVERIFY(m_root.renew());
}

void TestDownloadNginx::resume_data()
{
    QTest::addColumn<bool>("changed");
    QTest::newRow("package unchanged") << false;
    QTest::newRow("package changed while paused") << true;
}

void TestDownloadNginx::resume()
{
    QFETCH(bool, changed);
    const QByteArray v1 = packageBytes(2 << 20, 1);
    const QByteArray v2 = packageBytes(1800 * 1024, 2);
    QVERIFY(writeFile(m_served.filePath("book.vbp"), v1));
    // nginx sends a second's worth at once, then waits: the pause comes
    // within the first second.
    const QString why = m_nginx.start(m_served.path(), 1 << 20);
    QVERIFY2(why.isEmpty(), qPrintable(why));

    DownLoadMng engine;
    QSignalSpy finished(&engine, &DownLoadMng::downloadFinishedResponse);
    QVERIFY(engine.NewDownloandTask(link("book"), "u100", "book", "测试书"));
    QTRY_VERIFY(partialSize("book") > 0);
    engine.PauseTask(QString(), link("book"));
    QVERIFY(partialSize("book") < v1.size());
    if (changed)
        QVERIFY(writeFile(m_served.filePath("book.vbp"), v2));
    engine.ReStartTask("book.vbp", QString());
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
    QCOMPARE(readFile(packagePath("book")), changed ? v2 : v1);
}

void TestDownloadNginx::killedAndRestarted()
{
    const QString served = m_served.filePath("dlbig.vbp");
    QVERIFY(packBigBook(served, "dlbig", 50));
    const qint64 size = QFileInfo(served).size();
    QVERIFY(size >= 50 * 1000 * 1000);
    const QString why = m_nginx.start(m_served.path(), 10 * 1024 * 1024);
    QVERIFY2(why.isEmpty(), qPrintable(why));

    QProcess driver;
    const QStringList arguments{link("dlbig"), QStringLiteral("dlbig")};
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator generator(seed);
    qInfo("kill points from seed %u", seed);
    for (int kill = 0; kill < 10; ++kill) {
        // Killed once the partial file has grown by up to 4 MB more (0: at
        // once, before the engine is even up).
        const qint64 point = partialSize("dlbig") + generator.bounded(4 << 20);
        driver.start(QStringLiteral(ZR_DLDRIVER), arguments);
        QVERIFY(driver.waitForStarted());
        while (driver.state() == QProcess::Running && partialSize("dlbig") < point)
            QTest::qSleep(2);
        driver.kill();
        driver.waitForFinished();
    }
    driver.start(QStringLiteral(ZR_DLDRIVER), arguments);
    QVERIFY(driver.waitForFinished(60000));
    QCOMPARE(driver.exitStatus(), QProcess::NormalExit);
    QCOMPARE(driver.exitCode(), 0);

    const QString package = packagePath("dlbig");
    QCOMPARE(sha256(package), sha256(served));
    VbpReader reader;
    VRRBookInfo info;
    VRRBookInfo *infoPtr = &info;
    VRBChaptersRelt *chapters = nullptr;
    QCOMPARE(reader.openVBP("dlbig", package, chapters, infoPtr), 0);
    QCOMPARE(info.m_caplist.size(), 25);
    QCOMPARE(reader.openChapterVBP(info.m_caplist.last().m_id, chapters), 0);
}

QTEST_MAIN(TestDownloadNginx)
#include "tst_downloadnginx.moc"
