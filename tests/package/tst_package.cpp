// The Debian package as a user gets it: made by CPack from this build tree
// into a folder of the test's own, unpacked with dpkg-deb, and the unpacked
// program started through its launcher without a display.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char *const AppId = "org.zarvoreader.ZarvoReader";
const char *const Prefix = "/opt/ZarvoReader";

struct Finished
{
    int code = -1;
    QString out;
    QString err;
};

Finished runProgram(const QString &program, const QStringList &arguments, int timeoutMs = 60000,
                    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Finished result;
    if (!process.waitForFinished(timeoutMs)) {
        result.err = QStringLiteral("%1 did not finish: %2").arg(program, process.errorString());
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit)
        result.code = process.exitCode();
    return result;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Package names in a Depends field, without versions or alternatives' bars.
QSet<QString> dependencyNames(const QString &field)
{
    QSet<QString> names;
    static const QRegularExpression separator(QStringLiteral("[,|]"));
    for (const QString &entry : field.split(separator, Qt::SkipEmptyParts))
        names.insert(entry.trimmed().section(' ', 0, 0).section(':', 0, 0));
    return names;
}

} // namespace

class TstPackage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        const QString build = qEnvironmentVariable("ZR_BINARY_DIR");
        const QString out = m_work.filePath("out");
        const Finished cpack = runProgram(
            "cpack", {"-G", "DEB", "-B", out, "--config", build + "/CPackConfig.cmake"}, 300000);
        QVERIFY2(cpack.code == 0, qPrintable(cpack.out + cpack.err));
        const QStringList debs = QDir(out).entryList({"zarvoreader_*.deb"}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        m_deb = QDir(out).filePath(debs.first());
        m_root = m_work.filePath("root");
        const Finished unpack = runProgram("dpkg-deb", {"-x", m_deb, m_root});
        QVERIFY2(unpack.code == 0, qPrintable(unpack.err));
        const Finished listing = runProgram("dpkg-deb", {"-c", m_deb});
        QVERIFY2(listing.code == 0, qPrintable(listing.err));
        m_listing = listing.out.split('\n', Qt::SkipEmptyParts);
    }

    // The launcher picks a data root of the user's own and starts the
    // unpacked program, which lists a book packed by the unpacked vbp and
    // draws the shelf.
    void shelfFromTheUnpackedLauncher()
    {
        QTemporaryDir home;
        const QString dataRoot = home.filePath("data/zarvoreader");
        const QString books = dataRoot + "/opt/ZarvoReader/preinstall/books";
        QVERIFY(QDir().mkpath(books) && QDir().mkpath(home.filePath("text")));
        QVERIFY(writeFile(home.filePath("text/01.txt"), "第一章\n天地玄黄，宇宙洪荒。\n"));
        const Finished packed =
            runProgram(m_root + Prefix + "/bin/vbp",
                       {"pack", "--id", "pkgbook", "--title", "测试书", "--author", "测试作者",
                        "-o", books + "/pkgbook.vbp", home.filePath("text")});
        QVERIFY2(packed.code == 0, qPrintable(packed.err));

        // The installed launcher, aimed at the unpacked copy of its program.
        const QString program = QString(Prefix) + "/bin/zarvoreader";
        QByteArray launcher = readFile(m_root + "/usr/bin/zarvoreader");
        QVERIFY2(launcher.contains(program.toUtf8()), launcher.constData());
        launcher.replace(program.toUtf8(), (m_root + program).toUtf8());
        const QString launcherCopy = home.filePath("zarvoreader");
        QVERIFY(writeFile(launcherCopy, launcher));
        QVERIFY(QFile::setPermissions(launcherCopy, QFile::ReadOwner | QFile::ExeOwner));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("ZARVOREADER_ROOT");
        env.insert("HOME", home.path());
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("ZARVOREADER_GRAB_FRAME", home.filePath("shelf.png"));
        const Finished reader = runProgram(launcherCopy, {}, 60000, env);
        QVERIFY2(reader.code == 0, qPrintable(reader.err));

        const QImage shelf =
            QImage(home.filePath("shelf.png")).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(shelf.size(), QSize(480, 800));
        // More than one colour: something was drawn.
        QImage blank(shelf.size(), shelf.format());
        blank.fill(shelf.pixel(0, 0));
        QVERIFY(shelf != blank);
        QVERIFY(QDir(dataRoot + "/home/user/MyDocs/ZarvoReader").exists());
        QStringList titles;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "shelf");
            db.setDatabaseName(dataRoot + "/opt/ZarvoReader/db/BookDB.db");
            QVERIFY(db.open());
            QSqlQuery query("SELECT bookname FROM DBBookTable", db);
            while (query.next())
                titles << query.value(0).toString();
        }
        QSqlDatabase::removeDatabase("shelf");
        QCOMPARE(titles, QStringList{"测试书"});
    }

    void holdsItsFiles_data()
    {
        QTest::addColumn<QString>("path");
        const QString prefix = QString(Prefix).mid(1);
        for (const char *program : {"zarvoreader", "vbp", "zarvostore"})
            QTest::newRow(program) << prefix + "/bin/" + program;
        // Every screen file, so the program loads from the package what it
        // loads from the build tree.
        const QDir screens(qEnvironmentVariable("ZR_SOURCE_DIR") + "/qml/ZarvoReader");
        for (const QString &name : screens.entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << prefix + "/qml/ZarvoReader/" + name;
        const QString app(AppId);
        // The launcher, desktop entry and metainfo are run and validated below.
        QTest::newRow("svg icon") << "usr/share/icons/hicolor/scalable/apps/" + app + ".svg";
        QTest::newRow("png icon") << "usr/share/icons/hicolor/48x48/apps/" + app + ".png";
        QTest::newRow("nginx example")
            << "usr/share/doc/zarvoreader/examples/zarvostore-nginx.conf.in";
    }

    void holdsItsFiles()
    {
        QFETCH(QString, path);
        QVERIFY(QFileInfo(m_root + "/" + path).isFile());
    }

    // Programs 0755, everything else 0644, folders 0755, all root's.
    void everyEntryHasItsRights()
    {
        static const QRegularExpression entry(
            QStringLiteral("^([-dl])([-rwxsStT]{9}) (\\S+)/(\\S+) +\\d+ \\S+ \\S+ \\./(.*)$"));
        QVERIFY(m_listing.size() > 20);
        for (const QString &line : m_listing) {
            const QRegularExpressionMatch match = entry.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            const QString kind = match.captured(1);
            const QString path = match.captured(5);
            const bool program = QFileInfo(path).path().endsWith("bin") && kind == "-";
            const QString expected = kind == "d" || program ? "rwxr-xr-x" : "rw-r--r--";
            QVERIFY2(kind != "l", qPrintable(line));
            QVERIFY2(match.captured(2) == expected, qPrintable(line));
            QVERIFY2(match.captured(3) == "root" && match.captured(4) == "root", qPrintable(line));
        }
    }

    // Nothing installed points back into the build: no run path in a
    // program, no build or source folder in any file.
    void noBuildTreePaths()
    {
        const QByteArray build = qgetenv("ZR_BINARY_DIR");
        const QByteArray source = qgetenv("ZR_SOURCE_DIR");
        int programs = 0;
        QDirIterator files(m_root, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const QByteArray bytes = readFile(path);
            QVERIFY2(!bytes.contains(build) && !bytes.contains(source), qPrintable(path));
            if (!bytes.startsWith("\177ELF"))
                continue;
            ++programs;
            const Finished dynamic = runProgram("readelf", {"-d", path});
            QVERIFY2(dynamic.code == 0, qPrintable(dynamic.err));
            QVERIFY2(!dynamic.out.contains("RPATH") && !dynamic.out.contains("RUNPATH"),
                     qPrintable(path + dynamic.out));
        }
        QCOMPARE(programs, 3);
    }

    void desktopIntegrationValidates_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        const QString share = m_root + "/usr/share/";
        const QString app(AppId);
        QTest::newRow("desktop entry")
            << "desktop-file-validate" << QStringList{share + "applications/" + app + ".desktop"};
        QTest::newRow("metainfo") << "appstreamcli"
                                  << QStringList{"validate", "--no-net",
                                                 share + "metainfo/" + app + ".metainfo.xml"};
        // The installed tree as a software centre reads it: the metainfo, the
        // desktop entry it launches, and the icon that entry names.
        QTest::newRow("installed tree")
            << "appstreamcli" << QStringList{"validate-tree", "--no-net", m_root};
    }

    void desktopIntegrationValidates()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        const Finished check = runProgram(tool, arguments);
        QVERIFY2(check.code == 0, qPrintable(check.out + check.err));
    }

    // Software centres show the newest release entry as the installed version.
    void metainfoNamesThisRelease()
    {
        const QByteArray metainfo =
            readFile(m_root + "/usr/share/metainfo/" + AppId + ".metainfo.xml");
        QVERIFY(metainfo.contains("<release version=\"" ZR_VERSION "\""));
    }

    void iconsHaveTheirSizes()
    {
        const QDir hicolor(m_root + "/usr/share/icons/hicolor");
        const QStringList sizes = hicolor.entryList({"*x*"}, QDir::Dirs);
        QVERIFY(sizes.size() >= 4);
        for (const QString &size : sizes) {
            const QImage icon(hicolor.filePath(size + "/apps/" + AppId + ".png"));
            const int side = size.section('x', 0, 0).toInt();
            QVERIFY2(icon.size() == QSize(side, side), qPrintable(size));
        }
    }

    // What the program loads at run time besides the libraries it links:
    // every QML module the screens import (with the modules those import),
    // the SQLite driver and a font with Chinese characters.
    void declaresWhatItLoads_data()
    {
        QTest::addColumn<QString>("systemFile");
        const QString qml = QLibraryInfo::path(QLibraryInfo::QmlImportsPath);
        const Finished scan = runProgram(
            QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/qmlimportscanner",
            {"-rootPath", m_root + Prefix + "/qml/ZarvoReader", "-importPath", qml});
        QVERIFY2(scan.code == 0, qPrintable(scan.err));
        for (const QJsonValue &import : QJsonDocument::fromJson(scan.out.toUtf8()).array()) {
            const QJsonObject module = import.toObject();
            // Modules without a path are optional imports this system lacks too.
            if (module.value("type") == "module" && module.contains("path"))
                QTest::newRow(qPrintable(module.value("name").toString()))
                    << module.value("path").toString() + "/qmldir";
        }
        QTest::newRow("sqlite driver")
            << QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/sqldrivers/libqsqlite.so";
        const Finished font = runProgram("fc-match", {"-f", "%{file}", ":lang=zh-cn"});
        QTest::newRow("chinese font") << font.out;
    }

    void declaresWhatItLoads()
    {
        QFETCH(QString, systemFile);
        const Finished owner = runProgram("dpkg", {"-S", systemFile});
        const QString package = owner.code == 0 ? owner.out.section(':', 0, 0) : QString();
        QVERIFY2(!package.isEmpty(), qPrintable(systemFile));
        const Finished depends = runProgram("dpkg-deb", {"-f", m_deb, "Depends"});
        QVERIFY2(dependencyNames(depends.out).contains(package),
                 qPrintable(package + " not in " + depends.out));
    }

    void controlFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("name") << "Package"
                              << "zarvoreader";
        QTest::newRow("version") << "Version" << ZR_VERSION "-1";
        QTest::newRow("architecture")
            << "Architecture" << runProgram("dpkg", {"--print-architecture"}).out.trimmed();
    }

    void controlFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, expected);
        QCOMPARE(runProgram("dpkg-deb", {"-f", m_deb, field}).out.trimmed(), expected);
    }

private:
    QTemporaryDir m_work;
    QString m_deb;
    QString m_root;
    QStringList m_listing;
};

QTEST_GUILESS_MAIN(TstPackage)
#include "tst_package.moc"
