// The built programs as a user runs them: the reader with a temporary data
// root, with another document in place of the screens, and the screenshot
// tool.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString builtProgram(const QString &name)
{
    return qEnvironmentVariable("ZR_BINARY_DIR") + "/bin/" + name;
}

// An installed tree of its own: bin/<program> beside qml/ZarvoReader/, with the
// given top-level document (none when empty).
QString makeTree(const QTemporaryDir &dir, const QString &program, const QByteArray &document)
{
    QDir(dir.path()).mkpath("bin");
    const QString copy = dir.filePath("bin/" + program);
    if (!QFile::copy(builtProgram(program), copy))
        return {};
    if (!document.isEmpty()) {
        QDir(dir.path()).mkpath("qml/ZarvoReader");
        QFile qml(dir.filePath("qml/ZarvoReader/EBookReaderContainer.qml"));
        if (!qml.open(QIODevice::WriteOnly) || qml.write(document) != document.size())
            return {};
    }
    return copy;
}

void startWithRoot(QProcess &process, const QString &program, const QStringList &args,
                   const QString &root)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZARVOREADER_ROOT", root);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_QUICK_BACKEND", "software");
    process.setProcessEnvironment(env);
    process.start(program, args);
}

bool userFoldersExist(const QString &root)
{
    return QDir(root + "/home/user/ZarvoReader").exists() &&
           QDir(root + "/home/user/MyDocs/ZarvoReader").exists();
}

} // namespace

class TstShellProcess : public QObject
{
    Q_OBJECT
private slots:
    void readerStaysUpUntilTerminated_data()
    {
        QTest::addColumn<bool>("withDocument");
        QTest::newRow("built tree") << true;
        QTest::newRow("no document") << false;
    }

    void readerStaysUpUntilTerminated()
    {
        QFETCH(bool, withDocument);
        QTemporaryDir tree;
        QTemporaryDir root;
        // A missing document leaves the view empty; the program still runs.
        const QString program = withDocument ? builtProgram("zarvoreader")
                                             : makeTree(tree, "zarvoreader", QByteArray());
        QVERIFY(!program.isEmpty());

        QProcess reader;
        startWithRoot(reader, program, {}, root.path());
        QVERIFY(reader.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(userFoldersExist(root.path()), 30000);
        QCOMPARE(reader.state(), QProcess::Running);

        // Asked to stop, it closes its window and leaves the event loop normally.
        reader.terminate();
        QVERIFY(reader.waitForFinished(30000));
        QCOMPARE(reader.exitStatus(), QProcess::NormalExit);
        QCOMPARE(reader.exitCode(), 0);
    }

    void ownDocumentAtTheQmlPath_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<int>("exitCode"); // -1: any failure
        QTest::addColumn<QString>("errorText");
        // The document sees the registered names before it runs.
        QTest::newRow("reader loads it")
            << "zarvoreader"
            << QByteArray("import QtQuick\nItem { Timer { running: true; interval: 0; "
                          "onTriggered: Qt.exit(timemodel ? 42 : 43) } }")
            << 42 << "";
        QTest::newRow("screenshots of a broken one")
            << "zarvoshots" << QByteArray("import QtQuick\nRectangle {\n") << -1
            << "did not load|EBookReaderContainer.qml:";
    }

    void ownDocumentAtTheQmlPath()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, document);
        QFETCH(int, exitCode);
        QFETCH(QString, errorText);
        QTemporaryDir tree;
        QTemporaryDir root;
        const QString copy = makeTree(tree, program, document);
        QVERIFY(!copy.isEmpty());
        QProcess process;
        const QStringList args{tree.filePath("out")};
        startWithRoot(process, copy, program == "zarvoshots" ? args : QStringList(), root.path());
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        if (exitCode >= 0)
            QCOMPARE(process.exitCode(), exitCode);
        else
            QVERIFY(process.exitCode() != 0);
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        for (const QString &part : errorText.split('|', Qt::SkipEmptyParts))
            QVERIFY2(err.contains(part), qPrintable(err));
        QVERIFY(QDir(tree.filePath("out")).isEmpty()); // no screenshot of a broken document
    }

    void screenshotsOfEveryScreen()
    {
        QTemporaryDir root;
        QTemporaryDir out;
        QProcess shots;
        startWithRoot(shots, builtProgram("zarvoshots"), {out.filePath("shots")}, root.path());
        QVERIFY(shots.waitForFinished(120000));
        QCOMPARE(shots.exitStatus(), QProcess::NormalExit);
        QVERIFY2(shots.exitCode() == 0, shots.readAllStandardError().constData());

        const QStringList printed =
            QString::fromLocal8Bit(shots.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QVERIFY(!printed.isEmpty());
        for (int i = 0; i < printed.size(); ++i) {
            const QString &path = printed.at(i);
            const QString prefix = QStringLiteral("%1-").arg(i + 1, 2, 10, QLatin1Char('0'));
            QVERIFY2(path.startsWith(out.filePath("shots/" + prefix)) && path.endsWith(".png"),
                     qPrintable(path));
            const QImage image(path);
            QVERIFY2(!image.isNull(), qPrintable(path));
            QCOMPARE(image.size(), QSize(480, 800));
            // Something was drawn: not a single flat colour.
            const QRgb corner = image.pixel(0, 0);
            bool drawn = false;
            for (int y = 0; y < image.height() && !drawn; y += 4) {
                for (int x = 0; x < image.width() && !drawn; x += 4)
                    drawn = image.pixel(x, y) != corner;
            }
            QVERIFY2(drawn, qPrintable(path));
        }
    }
};

QTEST_GUILESS_MAIN(TstShellProcess)
#include "tst_shellprocess.moc"
