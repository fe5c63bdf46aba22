// Round trips of the packer through the real vbp program and through the
// package reader the program itself uses.

#include "bookpacker.h"
#include "booksource.h"
#include "commondef.h"
#include "textsplitter.h"
#include "vbpreader.h"
#include "vbpwriter.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A chapter text of the given length made of CJK lines of 30 characters.
QString longText(int units)
{
    const QString line =
        QStringLiteral("关关雎鸠，在河之洲。窈窕淑女，君子好逑。参差荇菜，左右流之。");
    QString text;
    while (text.size() < units)
        text += line + QLatin1Char('\n');
    return text.left(units);
}

// No line breaks, and U+20BB7 (a surrogate pair) straddling unit 4096.
QString surrogateAtBoundary()
{
    QString text(4095, QChar(0x4E00));
    text += QString::fromUcs4(U"\U00020BB7");
    text += QString(100, QChar(0x4E8C));
    return text;
}

QString chapterText(const VRBChaptersRelt *relation)
{
    QString text;
    if (!relation)
        return text;
    for (const auto &item : relation->m_contentList)
        text += QString::fromUtf16(reinterpret_cast<const char16_t *>(item->m_text.constData()),
                                   item->m_len / 2);
    return text;
}

QByteArray toJson(const BookSource &book)
{
    QJsonArray chapters;
    for (const BookSource::Chapter &c : book.chapters)
        chapters.append(QJsonObject{{"title", c.title}, {"text", c.text}});
    QJsonObject object{{"title", book.title},
                       {"author", book.author},
                       {"publisher", book.publisher},
                       {"description", book.description},
                       {"chapters", chapters}};
    if (!book.id.isEmpty())
        object.insert("id", book.id);
    return QJsonDocument(object).toJson();
}

} // namespace

Q_DECLARE_METATYPE(BookSource)

class TstVbpTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void splitter_data();
    void splitter();
    void readerRoundTrip_data();
    void readerRoundTrip();
    void programRoundTrip_data();
    void programRoundTrip();
    void folderInput();
    void deterministic();
    void covers();
    void writerLayout();
    void exitCodes_data();
    void exitCodes();
    void packRejects_data();
    void packRejects();
    void sampleConverter();

private:
    Run vbp(const QStringList &arguments) const;
    QString write(const QString &name, const QByteArray &bytes) const;

    QTemporaryDir m_dir;
    QString m_vbp;
};

void TstVbpTool::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("ZARVOREADER_ROOT", QFile::encodeName(m_dir.filePath("root")));
    QVERIFY(QDir().mkpath(QString(BookInfoFolder)));
    m_vbp = qEnvironmentVariable("ZR_BINARY_DIR") + QStringLiteral("/bin/vbp");
    QVERIFY2(QFileInfo(m_vbp).isExecutable(), qPrintable(m_vbp));
}

Run TstVbpTool::vbp(const QStringList &arguments) const
{
    QProcess process;
    process.start(m_vbp, arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QString TstVbpTool::write(const QString &name, const QByteArray &bytes) const
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

void TstVbpTool::splitter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxUnits");
    QTest::addColumn<int>("pieces");

    QTest::newRow("empty") << QString() << 4096 << 0;
    QTest::newRow("fits exactly") << QString(4096, QChar('a')) << 4096 << 1;
    QTest::newRow("one over") << QString(4097, QChar('a')) << 4096 << 2;
    QTest::newRow("lines") << longText(20000) << 4096 << 5;
    QTest::newRow("pair at the cut") << surrogateAtBoundary() << 4096 << 2;
    QTest::newRow("only pairs, tiny window")
        << QString::fromUcs4(U"\U0001F600\U0001F601\U0001F602") << 3 << 3;
}

void TstVbpTool::splitter()
{
    QFETCH(QString, text);
    QFETCH(int, maxUnits);
    QFETCH(int, pieces);

    const QStringList parts = TextSplitter::split(text, maxUnits);
    QCOMPARE(parts.size(), pieces);
    QCOMPARE(parts.join(QString()), text);
    for (const QString &part : parts) {
        QVERIFY(!part.isEmpty());
        QVERIFY(part.size() <= maxUnits);
        QVERIFY(!part.back().isHighSurrogate());
        QVERIFY(!part.front().isLowSurrogate());
    }
}

void TstVbpTool::readerRoundTrip_data()
{
    QTest::addColumn<BookSource>("book");
    QTest::addColumn<int>("firstChapterPieces");

    BookSource cjk;
    cjk.id = "zr-test-cjk";
    cjk.title = QStringLiteral("论语");
    cjk.author = QStringLiteral("孔子弟子及再传弟子");
    cjk.publisher = QStringLiteral("样书");
    cjk.description = QStringLiteral("儒家经典。");
    cjk.chapters = {{QStringLiteral("学而篇"), QStringLiteral("子曰：学而时习之，不亦说乎？\n")},
                    {QStringLiteral("为政篇"), QStringLiteral("为政以德。")}};
    QTest::newRow("cjk") << cjk << 1;

    BookSource markup;
    markup.title = QStringLiteral("Tom & \"Jerry\" <b>'s</b> ]]> &amp;");
    markup.author = QStringLiteral("A <&> \"B\"");
    markup.description = QStringLiteral("<description> & </chapters>");
    markup.chapters = {{QStringLiteral("<item a=\"1\">&"), QStringLiteral("x < y && \"z\"\n")}};
    QTest::newRow("markup in every field") << markup << 1;

    BookSource longBook;
    longBook.id = "zr-test-long";
    longBook.title = QStringLiteral("长篇");
    longBook.chapters = {{QStringLiteral("第一章"), longText(20000)}};
    QTest::newRow("long chapter") << longBook << 5;

    BookSource pair;
    pair.id = "zr-test-pair";
    pair.title = QStringLiteral("𠮷");
    pair.chapters = {{QStringLiteral("𠮷野家"), surrogateAtBoundary()}};
    QTest::newRow("pair at a piece boundary") << pair << 2;
}

void TstVbpTool::readerRoundTrip()
{
    QFETCH(BookSource, book);
    QFETCH(int, firstChapterPieces);

    const BookPacker packer(book);
    const QString path = m_dir.filePath(packer.bookId() + ".vbp");
    QString error;
    QVERIFY2(packer.writeTo(path, &error), qPrintable(error));

    VbpReader reader;
    VRBChaptersRelt *relation = nullptr;
    const auto info = std::make_unique<VRRBookInfo>();
    VRRBookInfo *infoPtr = info.get();
    QCOMPARE(reader.openVBP(packer.bookId(), path, relation, infoPtr), 0);
    QCOMPARE(info->m_id, packer.bookId());
    QCOMPARE(info->m_title, book.title);
    QCOMPARE(info->m_Title_BookName, book.title);
    QCOMPARE(info->m_keys.m_author, book.author);
    QCOMPARE(info->m_keys.m_publisher, book.publisher);
    QCOMPARE(info->m_description, book.description);
    QCOMPARE(int(info->m_total), book.chapters.size());
    QCOMPARE(info->m_caplist.size(), book.chapters.size());

    for (int i = 0; i < book.chapters.size(); ++i) {
        QCOMPARE(info->m_caplist.at(i).m_title, book.chapters.at(i).title);
        QCOMPARE(reader.openChapterVBP(info->m_caplist.at(i).m_id, relation), 0);
        QVERIFY(relation);
        QCOMPARE(chapterText(relation), book.chapters.at(i).text);
        if (i == 0)
            QCOMPARE(relation->count(), firstChapterPieces);
        for (const auto &item : relation->m_contentList)
            QVERIFY(item->m_len <= 2 * BookPacker::PieceUnits);
    }
}

void TstVbpTool::programRoundTrip_data()
{
    readerRoundTrip_data();
}

void TstVbpTool::programRoundTrip()
{
    QFETCH(BookSource, book);

    const QString json = write(QStringLiteral("book.json"), toJson(book));
    const QString out = m_dir.filePath("program.vbp");
    const Run pack = vbp({"pack", "-o", out, json});
    QVERIFY2(pack.exitCode == 0, pack.err.constData());

    const Run info = vbp({"info", out});
    QVERIFY2(info.exitCode == 0, info.err.constData());
    const QString listing = QString::fromUtf8(info.out);
    QVERIFY(listing.contains(QStringLiteral("title: ") + book.title + '\n'));
    QVERIFY(listing.contains(QStringLiteral("chapters: %1").arg(book.chapters.size())));

    for (int i = 0; i < book.chapters.size(); ++i) {
        const Run cat = vbp({"cat", out, BookPacker::chapterId(i)});
        QVERIFY2(cat.exitCode == 0, cat.err.constData());
        QCOMPARE(QString::fromUtf8(cat.out), book.chapters.at(i).text);
    }
}

void TstVbpTool::folderInput()
{
    const QString folder = m_dir.filePath("folder-book");
    QVERIFY(QDir().mkpath(folder));
    const QString second = QStringLiteral("第二回 下山\n") + longText(9000);
    QVERIFY(!write("folder-book/02.txt", second.toUtf8()).isEmpty());
    QVERIFY(!write("folder-book/01-opening.txt", QByteArray("\xEF\xBB\xBF\n  \nfirst")).isEmpty());

    const QString out = m_dir.filePath("folder.vbp");
    const Run pack = vbp({"pack", "--id", "zr-folder", "--title", "山 & 水", "--author", "无名氏",
                          "-o", out, folder});
    QVERIFY2(pack.exitCode == 0, pack.err.constData());

    const Run info = vbp({"info", out});
    QCOMPARE(info.exitCode, 0);
    const QString listing = QString::fromUtf8(info.out);
    QVERIFY(listing.contains(QStringLiteral("id: zr-folder\n")));
    QVERIFY(listing.contains(QStringLiteral("title: 山 & 水\n")));
    QVERIFY(listing.contains(QStringLiteral("author: 无名氏\n")));
    // A blank first line falls back to the file name; a heading line is used.
    QVERIFY(listing.contains(QStringLiteral("c0001 1 01-opening\n")));
    QVERIFY(listing.contains(QStringLiteral("c0002 2 第二回 下山\n")));

    QCOMPARE(QString::fromUtf8(vbp({"cat", out, "c0001"}).out), QStringLiteral("\n  \nfirst"));
    QCOMPARE(QString::fromUtf8(vbp({"cat", out, "c0002"}).out), second);
}

void TstVbpTool::deterministic()
{
    BookSource book;
    book.title = QStringLiteral("千字文");
    book.author = QStringLiteral("周興嗣");
    book.chapters = {{QStringLiteral("千字文"), longText(5000)}};

    const QByteArray first = BookPacker(book).toBytes();
    QVERIFY(!first.isEmpty());
    QCOMPARE(BookPacker(book).toBytes(), first);
    QCOMPARE(BookPacker(book).bookId(), BookPacker::derivedId(book.title, book.author));
    QVERIFY(BookPacker::derivedId(book.title, "x") != BookPacker(book).bookId());

    const QString json = write("det.json", toJson(book));
    QCOMPARE(vbp({"pack", "-o", m_dir.filePath("det1.vbp"), json}).exitCode, 0);
    QCOMPARE(vbp({"pack", "-o", m_dir.filePath("det2.vbp"), json}).exitCode, 0);
    QFile a(m_dir.filePath("det1.vbp"));
    QFile b(m_dir.filePath("det2.vbp"));
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray bytes = a.readAll();
    QCOMPARE(b.readAll(), bytes);
    QCOMPARE(bytes, first);
}

void TstVbpTool::covers()
{
    BookSource book;
    book.id = "zr-cover";
    book.title = QStringLiteral("唐诗三百首");
    book.author = QStringLiteral("蘅塘退士");
    book.chapters = {{QStringLiteral("一"), QStringLiteral("床前明月光")}};
    const QString path = m_dir.filePath("cover.vbp");
    QVERIFY(BookPacker(book).writeTo(path));

    VbpReader reader;
    VRBChaptersRelt *relation = nullptr;
    const auto info = std::make_unique<VRRBookInfo>();
    VRRBookInfo *infoPtr = info.get();
    QCOMPARE(reader.openVBP(book.id, path, relation, infoPtr), 0);
    // The reader extracts the shelf cover as book id + ".png".
    const QImage cover(QString(BookInfoFolder) + "/zr-cover.png");
    QCOMPARE(cover.size(), QSize(58, 84));
    // Not a blank tile: the title is drawn over the background.
    QSet<QRgb> colours;
    for (int y = 0; y < cover.height(); ++y)
        for (int x = 0; x < cover.width(); ++x)
            colours.insert(cover.pixel(x, y));
    QVERIFY(colours.size() > 8);
}

void TstVbpTool::writerLayout()
{
    VbpWriter writer;
    const QByteArray fortyBytes(40, 'n');
    writer.addRecord(fortyBytes, QByteArray(18, 'x'), 5);
    const QByteArray bytes = writer.toBytes();
    QCOMPARE(bytes.size(), 92 + 48 + 18);
    QCOMPARE(bytes.left(4), QByteArray("VBP0"));
    QCOMPARE(bytes.mid(92, 40), fortyBytes);
    QCOMPARE(bytes.mid(92 + 40, 4), QByteArray("\x8c\x00\x00\x00", 4)); // offset 140
    QCOMPARE(bytes.mid(92 + 44, 4), QByteArray("\x05\x12\x00\x00", 4));

    VbpWriter tooLong;
    tooLong.addRecord(QByteArray(41, 'n'), "data");
    QVERIFY(tooLong.toBytes().isEmpty());
    QVERIFY(!tooLong.writeTo(m_dir.filePath("never.vbp")));
    QVERIFY(!QFile::exists(m_dir.filePath("never.vbp")));
}

void TstVbpTool::exitCodes_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("package");
    QTest::addColumn<QString>("chapter");
    QTest::addColumn<int>("exitCode");

    BookSource book;
    book.id = "zr-codes";
    book.title = "codes";
    book.chapters = {{"one", "text"}};
    const QByteArray good = BookPacker(book).toBytes();
    QByteArray badTag = good;
    badTag[3] = 'X';
    QByteArray noFiles = good;
    noFiles.replace(88, 4, QByteArray(4, '\0'));
    // The last record (the chapter) claims to run past the end of the file.
    const QByteArray cut = good.left(good.size() - 1);

    QTest::newRow("info good") << "info" << good << QString() << 0;
    QTest::newRow("info 91 bytes") << "info" << good.left(91) << QString() << 3;
    QTest::newRow("info bad tag") << "info" << badTag << QString() << 4;
    QTest::newRow("info no files") << "info" << noFiles << QString() << 5;
    QTest::newRow("info missing file") << "info" << QByteArray() << QString() << 2;
    QTest::newRow("cat good") << "cat" << good << "c0001" << 0;
    QTest::newRow("cat unknown chapter") << "cat" << good << "c0002" << 5;
    QTest::newRow("cat bad tag") << "cat" << badTag << "c0001" << 4;
    QTest::newRow("cat cut chapter") << "cat" << cut << "c0001" << 3;
}

void TstVbpTool::exitCodes()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, package);
    QFETCH(QString, chapter);
    QFETCH(int, exitCode);

    QString path = m_dir.filePath("missing.vbp");
    if (!package.isEmpty())
        path = write("codes.vbp", package);
    QStringList arguments{command, path};
    if (!chapter.isEmpty())
        arguments << chapter;
    const Run run = vbp(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.err.isEmpty(), exitCode == 0);
}

void TstVbpTool::packRejects_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QStringList>("options");

    const QByteArray fine = R"({"title":"t","chapters":[{"title":"a","text":"b"}]})";
    QTest::newRow("not json") << QByteArray("{\"title\":") << QStringList();
    QTest::newRow("title not a string")
        << QByteArray(R"({"title":1,"chapters":[]})") << QStringList();
    QTest::newRow("no chapters") << QByteArray(R"({"title":"t","chapters":[]})") << QStringList();
    QTest::newRow("no title") << QByteArray(R"({"chapters":[{"text":"x"}]})") << QStringList();
    QTest::newRow("id leaves the folder") << fine << QStringList{"--id", "../evil"};
    QTest::newRow("id with a slash") << fine << QStringList{"--id", "a/b"};
}

void TstVbpTool::packRejects()
{
    QFETCH(QByteArray, json);
    QFETCH(QStringList, options);

    const QString input = write("reject.json", json);
    const QString out = m_dir.filePath("rejected.vbp");
    const Run run = vbp(QStringList{"pack"} + options + QStringList{"-o", out, input});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(!run.err.isEmpty());
    QVERIFY(!QFile::exists(out));
}

// A corpus in the shapes of the sample library's source, a few entries each.
void TstVbpTool::sampleConverter()
{
    const QString node = QStandardPaths::findExecutable("node");
    if (node.isEmpty())
        QSKIP("node is not installed");
    const QString dist = m_dir.filePath("dist");
    const QList<QPair<QString, QByteArray>> files = {
        {"lunyu/lunyu.json", R"([{"chapter":"学而篇","paragraphs":["子曰：学而时习之。"]}])"},
        {"sishuwujing/mengzi.json", R"([{"chapter":"梁惠王上","paragraphs":["孟子見梁惠王。"]}])"},
        {"sishuwujing/daxue.json", R"({"chapter":"大學","paragraphs":["大學之道。"]})"},
        {"sishuwujing/zhongyong.json", R"({"chapter":"中庸","paragraphs":["天命之謂性。"]})"},
        {"shijing/shijing.json",
         R"([{"title":"关雎","chapter":"国风","section":"周南","content":["关关雎鸠。"]}])"},
        {"chuci/chuci.json",
         R"([{"title":"离骚","section":"离骚","author":"屈原","content":["帝高阳之苗裔兮。"]}])"},
        {"mengxue/sanzijing-traditional.json",
         R"({"title":"三字經","author":"王應麟","paragraphs":["人之初，性本善。"]})"},
        {"mengxue/qianziwen.json",
         R"({"title":"千字文","author":"周興嗣","paragraphs":["天地玄黃","宇宙洪荒","日月盈昃"]})"},
        {"mengxue/tangshisanbaishou.json",
         R"({"title":"唐詩三百首","content":[{"type":"五言絕句","content":[{"chapter":"相思",)"
         R"("subchapter":null,"author":"王維","paragraphs":["紅豆生南國。"]}]}]})"},
        {"mengxue/guwenguanzhi.json",
         R"({"title":"古文觀止","abstract":["選本。"],"content":[{"title":"卷一","content":[)"
         R"({"chapter":"鄭伯克段於鄢","source":"《左傳》","author":"左丘明 ","paragraphs":["初。"]}]}]})"},
        {"songci/宋词三百首.json",
         R"([{"author":"苏轼","paragraphs":["明月几时有。"],"rhythmic":"水调歌头"}])"},
        {"quantangshi/poet.tang.1000.json",
         R"([{"author":"李白","paragraphs":["床前明月光。"],"title":"静夜思"}])"},
        {"quantangshi/poet.tang.0.json",
         R"([{"author":"太宗皇帝","paragraphs":["秦川雄帝宅。"],"title":"帝京篇"}])"},
    };
    for (const auto &file : files) {
        QVERIFY(QDir().mkpath(QFileInfo(dist + '/' + file.first).path()));
        QVERIFY(!write("dist/" + file.first, file.second).isEmpty());
    }

    const QString out = m_dir.filePath("converted");
    QProcess convert;
    convert.start(node,
                  {qEnvironmentVariable("ZR_SOURCE_DIR") + "/tools/samples/convert.js", dist, out});
    QVERIFY(convert.waitForFinished(60000));
    QVERIFY2(convert.exitCode() == 0, convert.readAllStandardError().constData());
    QCOMPARE(QDir(out).entryList({"*.json"}).size(), 12);

    BookSource tang;
    QFile json(out + "/zr-quantangshi.json");
    QVERIFY(json.open(QIODevice::ReadOnly));
    QString error;
    QVERIFY2(BookSource::fromJson(json.readAll(), tang, &error), qPrintable(error));
    QCOMPARE(tang.id, QStringLiteral("zr-quantangshi"));
    // One chapter per corpus file, in numeric file order.
    QCOMPARE(tang.chapters.size(), 2);
    QCOMPARE(tang.chapters.at(0).title, QStringLiteral("第一卷"));
    QVERIFY(tang.chapters.at(0).text.contains(QStringLiteral("帝京篇\n太宗皇帝\n秦川雄帝宅。")));
    QVERIFY(tang.chapters.at(1).text.contains(QStringLiteral("静夜思\n李白\n床前明月光。")));

    const QString book = m_dir.filePath("zr-quantangshi.vbp");
    QCOMPARE(vbp({"pack", "-o", book, out + "/zr-quantangshi.json"}).exitCode, 0);
    const Run cat = vbp({"cat", book, "c0002"});
    QCOMPARE(cat.exitCode, 0);
    QCOMPARE(QString::fromUtf8(cat.out), tang.chapters.at(1).text);
}

QTEST_MAIN(TstVbpTool)
#include "tst_vbptool.moc"
