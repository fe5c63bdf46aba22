// Round trips of the packer through the real vbp program and the package
// reader; malformed packages and their codes are left to the reader's test.

#include "bookpacker.h"
#include "booksource.h"
#include "commondef.h"
#include "textsplitter.h"
#include "vbpreader.h"
#include "vbprun.h"
#include "vbpwriter.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A chapter text of the given length made of CJK lines of 30 characters.
QString longText(int units)
{
    const QString line =
        QStringLiteral("关关雎鸠，在河之洲。窈窕淑女，君子好逑。参差荇菜，左右流之。\n");
    return line.repeated(units / line.size() + 1).left(units);
}

// No line breaks, and U+20BB7 (a surrogate pair) straddling unit 4096.
QString surrogateAtBoundary()
{
    return QString(4095, QChar(0x4E00)) + QString::fromUcs4(U"\U00020BB7") +
           QString(100, QChar(0x4E8C));
}

QString chapterText(const VRBChaptersRelt *relation)
{
    QString text;
    for (const auto &item : relation->m_contentList)
        text += QString::fromUtf16(reinterpret_cast<const char16_t *>(item->m_text.constData()),
                                   item->m_len / 2);
    return text;
}

QByteArray oneChapterBook(const QString &id, const QString &title, const QString &text)
{
    const QJsonArray chapters{QJsonObject{{"title", title}, {"text", text}}};
    return QJsonDocument(QJsonObject{{"id", id}, {"title", title}, {"chapters", chapters}})
        .toJson();
}

} // namespace

class TstVbpTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("ZARVOREADER_ROOT", QFile::encodeName(m_dir.filePath("root")));
        QVERIFY(QDir().mkpath(QString(BookInfoFolder)));
        QVERIFY2(QFileInfo(vbpProgram()).isExecutable(), qPrintable(vbpProgram()));
    }

    void splitter_data()
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

    void splitter()
    {
        QFETCH(QString, text);
        QFETCH(int, maxUnits);
        const QStringList parts = TextSplitter::split(text, maxUnits);
        QTEST(int(parts.size()), "pieces");
        QCOMPARE(parts.join(QString()), text);
        for (const QString &part : parts) {
            QVERIFY(!part.isEmpty() && part.size() <= maxUnits);
            QVERIFY(!part.back().isHighSurrogate());
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("firstChapterPieces");

        QTest::newRow("cjk")
            << QByteArray(R"({"id":"zr-test-cjk","title":"论语","author":"孔子弟子及再传弟子",)"
                          R"("publisher":"样书","description":"儒家经典。","chapters":[)"
                          R"({"title":"学而篇","text":"子曰：学而时习之，不亦说乎？\n"},)"
                          R"({"title":"为政篇","text":"为政以德。"}]})")
            << 1;
        // No id: the packer derives one.
        QTest::newRow("markup in every field")
            << QByteArray(
                   "{\"title\":\"Tom & \\\"Jerry\\\" <b>'s</b> ]]> &amp;\","
                   "\"author\":\"A <&> \\\"B\\\"\",\"description\":\"<description> & </chapters>\","
                   "\"chapters\":[{\"title\":\"<item a=\\\"1\\\">&\",\"text\":\"x < y && "
                   "\\\"z\\\"\\n\"}]}")
            << 1;
        QTest::newRow("pair at a piece boundary")
            << oneChapterBook("zr-test-pair", "𠮷野家", surrogateAtBoundary()) << 2;
    }

    void roundTrip()
    {
        QFETCH(QByteArray, json);
        QFETCH(int, firstChapterPieces);
        BookSource book;
        QVERIFY(BookSource::fromJson(json, book, nullptr));

        // Packed by the program from JSON: the very bytes of the packer, so
        // packing is deterministic.
        const BookPacker packer(book);
        const QString out = m_dir.filePath(packer.bookId() + ".vbp");
        const VbpRun pack = runVbp({"pack", "-o", out, write("book.json", json)});
        QVERIFY2(pack.exitCode == 0, pack.err.constData());
        QFile packed(out);
        QVERIFY(packed.open(QIODevice::ReadOnly));
        QCOMPARE(packed.readAll(), packer.toBytes());

        // Read back by the reader the program's own info/cat commands use.
        VbpReader reader;
        VRBChaptersRelt *relation = nullptr;
        VRRBookInfo info;
        VRRBookInfo *infoPtr = &info;
        QCOMPARE(reader.openVBP(packer.bookId(), out, relation, infoPtr), 0);
        const QString id =
            book.id.isEmpty() ? BookPacker::derivedId(book.title, book.author) : book.id;
        QCOMPARE(QStringList({info.m_id, info.m_title, info.m_keys.m_author,
                              info.m_keys.m_publisher, info.m_description}),
                 QStringList({id, book.title, book.author, book.publisher, book.description}));
        QCOMPARE(info.m_caplist.size(), book.chapters.size());
        for (int i = 0; i < book.chapters.size(); ++i) {
            QCOMPARE(info.m_caplist.at(i).m_title, book.chapters.at(i).title);
            QCOMPARE(reader.openChapterVBP(info.m_caplist.at(i).m_id, relation), 0);
            QCOMPARE(chapterText(relation), book.chapters.at(i).text);
            if (i == 0)
                QCOMPARE(relation->count(), firstChapterPieces);
        }
        const QImage cover(QString(BookInfoFolder) + "/" + packer.bookId() + ".png");
        QCOMPARE(cover.size(), QSize(58, 84));
    }

    void folderInput()
    {
        const QString second = QStringLiteral("第二回 下山\n") + longText(9000);
        write("folder-book/02.txt", second.toUtf8());
        write("folder-book/01-opening.txt", QByteArray("\xEF\xBB\xBF\n  \nfirst"));
        const QString out = m_dir.filePath("folder.vbp");
        const VbpRun pack = runVbp({"pack", "--id", "zr-folder", "--title", "山 & 水", "--author",
                                    "无名氏", "-o", out, m_dir.filePath("folder-book")});
        QVERIFY2(pack.exitCode == 0, pack.err.constData());

        const QString listing = output({"info", out});
        for (const char *line : {"id: zr-folder", "title: 山 & 水", "author: 无名氏",
                                 // A blank first line falls back to the file name.
                                 "c0001 1 01-opening", "c0002 2 第二回 下山"})
            QVERIFY2(listing.contains(QString::fromUtf8(line) + '\n'), line);
        QCOMPARE(output({"cat", out, "c0001"}), QStringLiteral("\n  \nfirst"));
        QCOMPARE(output({"cat", out, "c0002"}), second);
    }

    void writerLayout()
    {
        VbpWriter writer;
        const QByteArray fortyBytes(40, 'n');
        writer.addRecord(fortyBytes, QByteArray(18, 'x'), 5);
        const QByteArray bytes = writer.toBytes();
        QCOMPARE(bytes.size(), 92 + 48 + 18);
        QCOMPARE(bytes.left(4), QByteArray("VBP0"));
        QCOMPARE(bytes.mid(92, 48), fortyBytes + QByteArray("\x8c\x00\x00\x00\x05\x12\x00\x00", 8));

        VbpWriter tooLong;
        tooLong.addRecord(QByteArray(41, 'n'), "data");
        QVERIFY(tooLong.toBytes().isEmpty());
        QVERIFY(!tooLong.writeTo(m_dir.filePath("never.vbp")));
        QVERIFY(!QFile::exists(m_dir.filePath("never.vbp")));
    }

    // One row per result code: the program hands on the reader's code; a
    // package it refuses to pack is not written. IN is the written input, OUT
    // the package path.
    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input"); // null: IN is missing
        QTest::addColumn<int>("exitCode");

        const QByteArray good =
            BookPacker({"zr-codes", "codes", {}, {}, {}, {{"one", "text"}}}).toBytes();
        const QStringList info{"info", "IN"}, pack{"pack", "-o", "OUT", "IN"};
        QTest::newRow("info good") << info << good << 0;
        QTest::newRow("info bad tag") << info << QByteArray(good).replace(3, 1, "X") << 4;
        QTest::newRow("info missing file") << info << QByteArray() << 2;
        QTest::newRow("cat unknown chapter") << QStringList{"cat", "IN", "c0002"} << good << 5;
        // The last record (the chapter) runs past the end of the file.
        QTest::newRow("cat cut chapter")
            << QStringList{"cat", "IN", "c0001"} << good.chopped(1) << 3;
        QTest::newRow("pack not json") << pack << QByteArray("{\"title\":") << 1;
        QTest::newRow("pack title not a string")
            << pack << QByteArray(R"({"title":1,"chapters":[]})") << 1;
        QTest::newRow("pack no chapters")
            << pack << QByteArray(R"({"title":"t","chapters":[]})") << 1;
        QTest::newRow("pack no title") << pack << QByteArray(R"({"chapters":[{"text":"x"}]})") << 1;
        QTest::newRow("pack id leaves the folder")
            << QStringList{"pack", "--id", "../evil", "-o", "OUT", "IN"}
            << QByteArray(R"({"title":"t","chapters":[{"title":"a","text":"b"}]})") << 1;
    }

    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        const QString out = m_dir.filePath("out.vbp");
        arguments.replaceInStrings(QRegularExpression("^OUT$"), out);
        arguments.replaceInStrings(QRegularExpression("^IN$"),
                                   input.isNull() ? m_dir.filePath("missing") : write("in", input));
        const VbpRun run = runVbp(arguments);
        QTEST(run.exitCode, "exitCode");
        QCOMPARE(run.err.isEmpty(), run.exitCode == 0);
        QVERIFY(!QFile::exists(out));
    }

    // A corpus in the shapes of the sample library's source, a few entries each.
    void sampleConverter()
    {
        if (QStandardPaths::findExecutable("node").isEmpty())
            QSKIP("node is not installed");
        const QList<QPair<QString, QByteArray>> files = {
            {"lunyu/lunyu.json", R"([{"chapter":"学而篇","paragraphs":["子曰：学而时习之。"]}])"},
            {"sishuwujing/mengzi.json",
             R"([{"chapter":"梁惠王上","paragraphs":["孟子見梁惠王。"]}])"},
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
        for (const auto &file : files)
            write("dist/" + file.first, file.second);

        const QString out = m_dir.filePath("converted");
        QVERIFY(convertSamples({m_dir.filePath("dist"), out}));
        QCOMPARE(QDir(out).entryList({"*.json"}).size(), 12);

        // One chapter per corpus file, in numeric file order.
        const QString book = m_dir.filePath("zr-quantangshi.vbp");
        QCOMPARE(runVbp({"pack", "-o", book, out + "/zr-quantangshi.json"}).exitCode, 0);
        QVERIFY(output({"info", book}).contains("c0001 1 第一卷\n"));
        QVERIFY(output({"cat", book, "c0001"}).contains("帝京篇\n太宗皇帝\n秦川雄帝宅。"));
        QVERIFY(output({"cat", book, "c0002"}).contains("静夜思\n李白\n床前明月光。"));
    }

    // Poet collections: at most 60 pieces a volume, ids from the name table or
    // a hash of the name, the author as the corpus writes it, the title in
    // simplified characters so a simplified search finds it.
    void poetCollections_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("author");
        QTest::addColumn<int>("chapters");
        const QString hashed = QString::fromLatin1(
            QCryptographicHash::hash("某甲", QCryptographicHash::Sha1).toHex().left(10));
        const char *const rows[][5] = {
            {"full volume", "zr-poet-libai-01", "李白诗集（卷一）", "李白", "6"},
            {"past the limit", "zr-poet-libai-02", "李白诗集（卷二）", "李白", "1"},
            {"traditional name", "zr-poet-liuyuxi-01", "刘禹锡诗集（卷一）", "劉禹錫", "6"},
            {"ci", "zr-ci-sushi-01", "苏轼词集（卷一）", "苏轼", "1"},
            {"name not in table", "", "某甲词集（卷一）", "某甲", "1"},
        };
        for (const auto &r : rows)
            QTest::newRow(r[0]) << (*r[1] ? QString::fromUtf8(r[1]) : "zr-ci-h" + hashed + "-01")
                                << QString::fromUtf8(r[2]) << QString::fromUtf8(r[3])
                                << QByteArray(r[4]).toInt();
    }

    void poetCollections()
    {
        QFETCH(QString, id);
        const QString out = convertedPoets();
        if (out.isEmpty())
            QSKIP("node is not installed");
        // Anonymous pieces make no collection; 60 poems make exactly one volume.
        QCOMPARE(QDir(out).entryList({"*.json"}).size(), 5);
        QFile file(out + "/" + id + ".json");
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(id));
        const QJsonObject book = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(book.value("id").toString(), id);
        QTEST(book.value("title").toString(), "title");
        QTEST(book.value("author").toString(), "author");
        QTEST(int(book.value("chapters").toArray().size()), "chapters");
    }

private:
    // Converts a made-up corpus once; empty without node.
    QString convertedPoets()
    {
        const QString out = m_dir.filePath("poets");
        const QString node = QStandardPaths::findExecutable("node");
        if (node.isEmpty() || QDir(out).exists())
            return node.isEmpty() ? QString() : out;
        const auto pieces = [](const char *author, int count, const char *key) {
            QJsonArray list;
            for (int i = 0; i < count; ++i)
                list.append(QJsonObject{{"author", QString::fromUtf8(author)},
                                        {key, QStringLiteral("题%1").arg(i)},
                                        {"paragraphs", QJsonArray{QStringLiteral("句。")}}});
            return list;
        };
        QJsonArray tang = pieces("李白", 61, "title");
        for (const auto &more : {pieces("劉禹錫", 60, "title"), pieces("不詳", 70, "title")})
            for (const auto &poem : more)
                tang.append(poem);
        write("poetdist/quantangshi/poet.tang.0.json", QJsonDocument(tang).toJson());
        QJsonArray song = pieces("苏轼", 1, "rhythmic");
        song.append(pieces("某甲", 1, "rhythmic").first());
        write("poetdist/songci/ci.song.0.json", QJsonDocument(song).toJson());
        convertSamples({"--poets", m_dir.filePath("poetdist"), out});
        return out;
    }

    // Runs the sample converter with node, which the caller has found.
    static bool convertSamples(const QStringList &arguments)
    {
        QProcess convert;
        convert.start(
            QStandardPaths::findExecutable("node"),
            QStringList{qEnvironmentVariable("ZR_SOURCE_DIR") + "/tools/samples/convert.js"} +
                arguments);
        const bool done = convert.waitForFinished(60000) && convert.exitCode() == 0;
        if (!done)
            qWarning() << convert.readAllStandardError();
        return done;
    }

    static QString output(const QStringList &arguments)
    {
        return QString::fromUtf8(runVbp(arguments).out);
    }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TstVbpTool)
#include "tst_vbptool.moc"
