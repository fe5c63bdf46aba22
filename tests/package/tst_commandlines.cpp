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
        QTest::addColumn<QStringList>("environment"); // NAME=value, or -NAME to remove
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stream"); // where the text is expected: out or err
        QTest::addColumn<QString>("text");

        const QString version = QStringLiteral("zarvoreader " ZR_VERSION "\n");
        // Help and version work without a display: no window system is started.
        const QStringList noDisplay{"QT_QPA_PLATFORM=xcb", "-DISPLAY", "-WAYLAND_DISPLAY"};
        QTest::newRow("reader help")
            << "zarvoreader" << QStringList{"--help"} << noDisplay << 0 << "out"
            << "ZARVOREADER_ROOT";
        QTest::newRow("reader version")
            << "zarvoreader" << QStringList{"--version"} << noDisplay << 0 << "out" << version;
        QTest::newRow("reader -v")
            << "zarvoreader" << QStringList{"-v"} << QStringList() << 0 << "out" << version;
        QTest::newRow("reader unknown option")
            << "zarvoreader" << QStringList{"--shelf"} << QStringList() << 2 << "err"
            << "Unknown option 'shelf'";
        QTest::newRow("reader stray argument")
            << "zarvoreader" << QStringList{"书.vbp"} << QStringList() << 2 << "err"
            << "unexpected argument: 书.vbp";
        QTest::newRow("vbp help") << "vbp" << QStringList{"--help"} << QStringList() << 0 << "out"
                                  << "vbp cat FILE CHAPTER_ID";
        QTest::newRow("vbp nothing") << "vbp" << QStringList() << QStringList() << 64 << "err"
                                     << "usage:";
        QTest::newRow("vbp unknown command")
            << "vbp" << QStringList{"unpack"} << QStringList() << 64 << "err"
            << "usage:";
        QTest::newRow("store help")
            << "zarvostore" << QStringList{"--help"} << QStringList() << 0 << "out"
            << "--books <dir>";
        QTest::newRow("store bad port")
            << "zarvostore" << QStringList{"--port", "80x"} << QStringList() << 2 << "err"
            << "bad port: 80x";
        QTest::newRow("store unknown option")
            << "zarvostore" << QStringList{"--shelf"} << QStringList() << 2 << "err"
            << "Unknown option 'shelf'";
    }

    void answersAndExitCodes()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        QFETCH(int, exitCode);
        QFETCH(QString, stream);
        QFETCH(QString, text);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &setting : environment) {
            if (setting.startsWith('-'))
                env.remove(setting.mid(1));
            else
                env.insert(setting.section('=', 0, 0), setting.section('=', 1));
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
