// The command lines of the three installed programs: what each prints for
// help, version and a bad line, and the exit code a script sees.

#include <QProcess>
#include <QTest>

class TstCommandLines : public QObject
{
    Q_OBJECT
private slots:
    void answersAndExitCodes_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stream"); // where the text is expected: out or err
        QTest::addColumn<QString>("text");

        const QString version = QStringLiteral("zarvoreader " ZR_VERSION "\n");
        QTest::newRow("reader help") << "zarvoreader" << QStringList{"--help"} << 0 << "out"
                                     << "ZARVOREADER_ROOT";
        QTest::newRow("reader version")
            << "zarvoreader" << QStringList{"--version"} << 0 << "out" << version;
        QTest::newRow("reader -v") << "zarvoreader" << QStringList{"-v"} << 0 << "out" << version;
        QTest::newRow("reader unknown option")
            << "zarvoreader" << QStringList{"--shelf"} << 2 << "err"
            << "Unknown option 'shelf'";
        QTest::newRow("reader stray argument")
            << "zarvoreader" << QStringList{"书.vbp"} << 2 << "err"
            << "unexpected argument: 书.vbp";
        QTest::newRow("vbp help") << "vbp" << QStringList{"--help"} << 0 << "out"
                                  << "vbp cat FILE CHAPTER_ID";
        QTest::newRow("vbp nothing") << "vbp" << QStringList() << 64 << "err"
                                     << "usage:";
        QTest::newRow("vbp unknown command") << "vbp" << QStringList{"unpack"} << 64 << "err"
                                             << "usage:";
        QTest::newRow("store help") << "zarvostore" << QStringList{"--help"} << 0 << "out"
                                    << "--books <dir>";
        QTest::newRow("store bad port")
            << "zarvostore" << QStringList{"--port", "80x"} << 2 << "err"
            << "bad port: 80x";
        QTest::newRow("store unknown option")
            << "zarvostore" << QStringList{"--shelf"} << 2 << "err"
            << "Unknown option 'shelf'";
    }

    void answersAndExitCodes()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, stream);
        QFETCH(QString, text);

        // Help and version work without a display: no window system is started.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (exitCode == 0) {
            env.insert("QT_QPA_PLATFORM", "xcb");
            env.remove("DISPLAY");
            env.remove("WAYLAND_DISPLAY");
        }
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(qEnvironmentVariable("ZR_BINARY_DIR") + "/bin/" + program, arguments);
        QVERIFY(process.waitForFinished(30000));
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY2(process.exitCode() == exitCode, qPrintable(out + err));
        QVERIFY2((stream == "out" ? out : err).contains(text), qPrintable(out + err));
    }
};

QTEST_GUILESS_MAIN(TstCommandLines)
#include "tst_commandlines.moc"
