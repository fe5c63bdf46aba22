#include "bookpacker.h"
#include "commondef.h"
#include "qfilestream.h"
#include "rawpackage.h"
#include "vbpreader.h"
#include "vbpwriter.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray OneChapterIndex =
    R"(<vb id="b1" title="Book"><keys><author>Ann</author></keys><chapters n="1"><item a="1" b="c1">One</item></chapters></vb>)";

QByteArray utf16le(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QByteArray piecesXml(const QList<QList<int>> &pieces)
{
    QByteArray xml = "<chapter>";
    for (const auto &p : pieces)
        xml += QStringLiteral(R"(<text href="content.txt" offset="%1" length="%2"/>)")
                   .arg(p.at(0))
                   .arg(p.at(1))
                   .toUtf8();
    return xml + "</chapter>";
}

// A chapter package: "ABCDEF" in UTF-16 as two pieces, unless told otherwise.
RawPackage chapterPackage(const QByteArray &xml = piecesXml({{0, 6}, {6, 6}}),
                          const QByteArray &content = utf16le("ABCDEF"))
{
    RawPackage p;
    p.add("chapter.xml", xml).add("content.txt", content);
    return p;
}

// A book whose chapter c1 is the given nested package, followed by filler so
// the file reaches well past the nested record.
RawPackage bookPackage(const QByteArray &nested, const QByteArray &index = OneChapterIndex,
                       const QByteArray &filler = QByteArray(4096, 'f'))
{
    RawPackage p;
    p.add("index.xml", index).add("c1.vbp", nested).add("filler", filler);
    return p;
}

QString joinedText(VRBChaptersRelt *relation)
{
    QString text;
    for (int i = 0; relation && i < relation->count(); ++i) {
        const QByteArray &bytes = relation->getItem(i)->m_text;
        for (int j = 0; j + 1 < bytes.size(); j += 2)
            text += QChar(char16_t(uchar(bytes[j]) | (uchar(bytes[j + 1]) << 8)));
    }
    return text;
}

} // namespace

class TestVbpReader : public QObject
{
    Q_OBJECT

private:
    QString write(const QByteArray &bytes, const QString &name = QStringLiteral("p.vbp"))
    {
        const QString path = m_root.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the package");
        return path;
    }

    int open(const QByteArray &bytes, const QString &id = QStringLiteral("b1"))
    {
        return m_reader->openVBP(id, write(bytes), m_chapters, m_bookInfoPtr);
    }

    QStringList pngFiles() const
    {
        QStringList found;
        QDirIterator it(m_root.path(), {"*.png"}, QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next().mid(m_root.path().size());
        return found;
    }

    QTemporaryDir m_root;
    std::unique_ptr<VbpReader> m_reader;
    VRBChaptersRelt *m_chapters = nullptr;
    VRRBookInfo m_bookInfo;
    VRRBookInfo *m_bookInfoPtr = &m_bookInfo;

private slots:
    void initTestCase();
    void init();
    void openErrors_data();
    void openErrors();
    void openPaths_data();
    void openPaths();
    void chapterErrors_data();
    void chapterErrors();
    void nestedStreamForm_data();
    void nestedStreamForm();
    void chapterBeforeAnyBook();
    void piecesInDescriptionOrder();
    void noPiecesGivesNullRelation();
    void failedChapterDropsAlias();
    void recordNameOf40Bytes();
    void packedWordSplit_data();
    void packedWordSplit();
    void topLevelNamesAreLatin1();
    void cover_data();
    void cover();
    void coverReplacesStaleFile();
    void chapterTextBudget();
    void roundTrip();
};

void TestVbpReader::initTestCase()
{
    QVERIFY(m_root.isValid());
    qputenv("ZARVOREADER_ROOT", QFile::encodeName(m_root.path()));
}

void TestVbpReader::init()
{
    m_reader = std::make_unique<VbpReader>();
    m_chapters = nullptr;
    QDir(QString(BookInfoFolder)).removeRecursively();
}

void TestVbpReader::openErrors_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");

    RawPackage book;
    book.add("index.xml", OneChapterIndex);
    QTest::newRow("book") << book.toBytes() << 0;
    QTest::newRow("chapter") << chapterPackage().toBytes() << 0;

    QTest::newRow("91 bytes") << book.toBytes().left(91) << 3;
    RawPackage tagged = book;
    tagged.tag = "VBP1";
    QTest::newRow("wrong tag") << tagged.toBytes() << 4;

    RawPackage count = book;
    count.fileCount = 0;
    QTest::newRow("no files") << count.toBytes() << 5;
    count.fileCount = -3;
    QTest::newRow("negative count") << count.toBytes() << 5;
    // 91 + 48 * count overflows 32 bits; nothing may be reserved for it.
    count.fileCount = 0x7fffffff;
    QTest::newRow("count 2^31-1") << count.toBytes() << 3;
    count.fileCount = 0x05555556;
    QTest::newRow("count wrapping to small") << count.toBytes() << 3;

    RawPackage two;
    two.add("a", {}).add("b", {});
    QTest::newRow("two entries, 187 bytes") << two.toBytes().left(187) << 3;
    QTest::newRow("two entries, 188 bytes") << two.toBytes() << 4; // passes the size test

    auto withIndex = [&](std::optional<qint32> off, std::optional<quint32> len) {
        RawPackage p = book;
        p.records[0].offset = off;
        p.records[0].length = len;
        return p.toBytes();
    };
    QTest::newRow("index offset 0") << withIndex(0, {}) << 3;
    QTest::newRow("index offset negative") << withIndex(-100, {}) << 3;
    QTest::newRow("index length 0") << withIndex({}, 0) << 3;
    QTest::newRow("index past end") << withIndex({}, OneChapterIndex.size() + 1) << 3;
    QTest::newRow("index offset+length overflows int") << withIndex(0x7ffffff0, 0x100) << 3;
    QTest::newRow("index ends exactly at end") << withIndex({}, OneChapterIndex.size()) << 0;

    RawPackage badXml;
    badXml.add("index.xml", "<vb><chapters>");
    QTest::newRow("index malformed") << badXml.toBytes() << 6;

    for (const char *cover : {"58_84.png", "44_63.png", "82_118.png"}) {
        RawPackage p = book;
        p.add(cover, "png");
        p.last().length = 4;
        QTest::addRow("%s past end", cover) << p.toBytes() << 3;
        p.last().length = 3;
        p.last().offset = 0;
        QTest::addRow("%s offset 0", cover) << p.toBytes() << 3;
    }

    RawPackage onlyContent;
    onlyContent.add("content.txt", "ab");
    QTest::newRow("content without chapter.xml") << onlyContent.toBytes() << 4;
    RawPackage onlyXml;
    onlyXml.add("chapter.xml", piecesXml({}));
    QTest::newRow("chapter.xml without content") << onlyXml.toBytes() << 4;
    RawPackage neither;
    neither.add("other", "x");
    QTest::newRow("neither") << neither.toBytes() << 4;

    RawPackage chapter = chapterPackage();
    chapter.records[0].length = 10000;
    QTest::newRow("chapter.xml past end") << chapter.toBytes() << 3;
    chapter = chapterPackage();
    chapter.records[1].offset = 0;
    QTest::newRow("content.txt offset 0") << chapter.toBytes() << 3;
    QTest::newRow("chapter.xml malformed") << chapterPackage("<chapter><text").toBytes() << 6;
    QTest::newRow("piece past end of file")
        << chapterPackage(piecesXml({{0, 6}, {6, 100}})).toBytes() << 3;
    // The piece would still be inside the file, but not inside "content.txt".
    RawPackage inFile = chapterPackage(piecesXml({{6, 10}}));
    inFile.add("after", QByteArray(100, 'z'));
    QTest::newRow("piece past end of content.txt") << inFile.toBytes() << 3;
    QTest::newRow("piece with negative offset")
        << chapterPackage(piecesXml({{-4, 2}})).toBytes() << 3;
    QTest::newRow("piece with negative length")
        << chapterPackage(piecesXml({{0, -2}})).toBytes() << 3;
    QTest::newRow("piece offset+length overflows int")
        << chapterPackage(piecesXml({{2147483600, 100}})).toBytes() << 3;
    QTest::newRow("non-numeric piece is empty")
        << chapterPackage(R"(<chapter><text a="c" b="x" c="y"/></chapter>)").toBytes() << 0;
}

void TestVbpReader::openErrors()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QCOMPARE(open(bytes), expected);
}

void TestVbpReader::openPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << QString() << 1;
    QTest::newRow("missing") << m_root.filePath("missing.vbp") << 2;
    QTest::newRow("folder") << m_root.path() << 2;
}

void TestVbpReader::openPaths()
{
    QFETCH(QString, path);
    QFETCH(int, expected);
    QCOMPARE(m_reader->openVBP("b1", path, m_chapters, m_bookInfoPtr), expected);
}

void TestVbpReader::chapterErrors_data()
{
    QTest::addColumn<QByteArray>("book");
    QTest::addColumn<QString>("chapter");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("text");

    const QByteArray good = chapterPackage().toBytes();
    QTest::newRow("good") << bookPackage(good).toBytes() << "c1" << 0 << "ABCDEF";
    QTest::newRow("no such chapter") << bookPackage(good).toBytes() << "c7" << 5 << "";

    RawPackage outer = bookPackage(good);
    outer.records[1].length = 1 << 20;
    QTest::newRow("nested record past end") << outer.toBytes() << "c1" << 3 << "";
    outer = bookPackage(good);
    outer.records[1].offset = 0;
    QTest::newRow("nested record offset 0") << outer.toBytes() << "c1" << 3 << "";

    RawPackage nested = chapterPackage();
    nested.tag = "JUNK";
    QTest::newRow("nested tag not compared")
        << bookPackage(nested.toBytes()).toBytes() << "c1" << 0 << "ABCDEF";
    nested = chapterPackage();
    nested.fileCount = 0x7fffffff;
    QTest::newRow("nested count 2^31-1")
        << bookPackage(nested.toBytes()).toBytes() << "c1" << 2 << "";
    // Inside the book file, where the filler holds a good description, but
    // outside the nested record.
    nested = chapterPackage();
    nested.records[0].offset = good.size() + 16;
    const QByteArray lure = QByteArray(16, ' ') + nested.records[0].data + QByteArray(64, ' ');
    QTest::newRow("nested chapter.xml outside its record")
        << bookPackage(nested.toBytes(), OneChapterIndex, lure).toBytes() << "c1" << 2 << "";
    nested = chapterPackage();
    nested.records[1].length = 12 + 64;
    QTest::newRow("nested content.txt outside its record")
        << bookPackage(nested.toBytes()).toBytes() << "c1" << 2 << "";
    QTest::newRow("nested piece past content.txt")
        << bookPackage(chapterPackage(piecesXml({{0, 14}})).toBytes()).toBytes() << "c1" << 2 << "";
    RawPackage xmlOnly;
    xmlOnly.add("chapter.xml", piecesXml({{0, 2}})).add("x", "yy");
    QTest::newRow("nested without content.txt")
        << bookPackage(xmlOnly.toBytes()).toBytes() << "c1" << 2 << "";
    QTest::newRow("nested description malformed")
        << bookPackage(chapterPackage("<chapter><text>").toBytes()).toBytes() << "c1" << 2 << "";
    QTest::newRow("nested too short") << bookPackage(good.left(92)).toBytes() << "c1" << 2 << "";
    RawPackage lastContent = chapterPackage();
    lastContent.add("content.txt", utf16le("xyzuvw"));
    QTest::newRow("last content.txt counts")
        << bookPackage(lastContent.toBytes()).toBytes() << "c1" << 0 << "xyzuvw";
}

void TestVbpReader::chapterErrors()
{
    QFETCH(QByteArray, book);
    QFETCH(QString, chapter);
    QFETCH(int, expected);
    QFETCH(QString, text);

    QCOMPARE(open(book), 0);
    QCOMPARE(m_bookInfo.m_caplist.size(), 1);
    QCOMPARE(m_reader->openChapterVBP(chapter, m_chapters), expected);
    QCOMPARE(joinedText(m_chapters), text);
}

void TestVbpReader::nestedStreamForm_data()
{
    QTest::addColumn<QByteArray>("nested");
    QTest::addColumn<int>("cut"); // bytes taken off the nested extent's end
    QTest::addColumn<int>("expected");

    QTest::newRow("good") << chapterPackage().toBytes() << 0 << 0;
    RawPackage xmlOnly;
    xmlOnly.add("chapter.xml", piecesXml({{0, 2}})).add("x", "yy");
    QTest::newRow("chapter.xml without content.txt") << xmlOnly.toBytes() << 0 << -1;
    RawPackage neither;
    neither.add("x", "yy");
    QTest::newRow("neither") << neither.toBytes() << 0 << 4;
    QTest::newRow("extent of 92 bytes")
        << chapterPackage().toBytes() << int(chapterPackage().toBytes().size()) - 92 << 3;
    QTest::newRow("directory past extent")
        << chapterPackage().toBytes() << int(chapterPackage().toBytes().size()) - 150 << 3;
    QTest::newRow("record past extent") << chapterPackage().toBytes() << 2 << 3;
    QTest::newRow("description malformed") << chapterPackage("<chapter").toBytes() << 0 << 6;
    RawPackage onlyContent;
    onlyContent.add("content.txt", "ab");
    QTest::newRow("content only keeps chapters") << onlyContent.toBytes() << 0 << 0;
}

void TestVbpReader::nestedStreamForm()
{
    QFETCH(QByteArray, nested);
    QFETCH(int, cut);
    QFETCH(int, expected);

    const QByteArray before(37, 'p');
    const QString path = write(before + nested + QByteArray(500, 't'), "nested.bin");
    QFileStream stream;
    QVERIFY(stream.Open(QFile::encodeName(path).constData(), 1));
    VRBChaptersRelt sentinel;
    VRBChaptersRelt *chapters = &sentinel;
    const int base = int(before.size());
    const int end = base + int(nested.size()) - cut;
    QCOMPARE(m_reader->openVBP(stream, base, end, "c1", chapters), expected);
    if (QByteArray(QTest::currentDataTag()) == "content only keeps chapters")
        QCOMPARE(chapters, &sentinel);
    if (expected == 0 && cut == 0 && chapters != &sentinel)
        QCOMPARE(joinedText(chapters), "ABCDEF");

    // Bounds that do not describe a place inside the file.
    QCOMPARE(m_reader->openVBP(stream, -1, end, "c1", chapters), 3);
    QCOMPARE(m_reader->openVBP(stream, end, base, "c1", chapters), 3);
    QCOMPARE(m_reader->openVBP(stream, base, 1 << 30, "c1", chapters), 3);
}

void TestVbpReader::chapterBeforeAnyBook()
{
    QCOMPARE(m_reader->openChapterVBP("c1", m_chapters), 1);
}

void TestVbpReader::piecesInDescriptionOrder()
{
    const QByteArray xml = piecesXml({{4, 2}, {0, 2}, {2, 2}});
    QCOMPARE(open(chapterPackage(xml, utf16le("abc")).toBytes()), 0);
    QVERIFY(m_chapters);
    QCOMPARE(m_chapters->count(), 3);
    QCOMPARE(joinedText(m_chapters), "cab");
    const auto *first = m_chapters->getItem(0);
    QCOMPARE(first->m_off, 4);
    QCOMPARE(first->m_len, 2);
    QCOMPARE(first->m_filename, "content.txt");
    QVERIFY(first->iskindof(VRBChaptersRelt::VB_TEXT));
    QCOMPARE(first->m_text.constData()[2], '\0'); // zero-terminated
    QCOMPARE(m_chapters->getLastItem(), m_chapters->getItem(2));
    QVERIFY(!m_chapters->getItem(3));

    // The same pieces through a nested package.
    QCOMPARE(open(bookPackage(chapterPackage(xml, utf16le("abc")).toBytes()).toBytes()), 0);
    QCOMPARE(m_reader->openChapterVBP("c1", m_chapters), 0);
    QCOMPARE(joinedText(m_chapters), "cab");
}

void TestVbpReader::noPiecesGivesNullRelation()
{
    QCOMPARE(open(chapterPackage().toBytes()), 0);
    QVERIFY(m_chapters);
    QCOMPARE(open(chapterPackage(piecesXml({})).toBytes()), 0);
    QVERIFY(!m_chapters);
}

void TestVbpReader::failedChapterDropsAlias()
{
    QCOMPARE(open(chapterPackage().toBytes()), 0);
    QVERIFY(m_chapters);
    // The old relation is gone once a new chapter is built: no dangling alias.
    QCOMPARE(open(chapterPackage(piecesXml({{0, 2}, {0, 99}})).toBytes()), 3);
    QVERIFY(!m_chapters);
    // A description that does not parse leaves the last relation alone.
    QCOMPARE(open(chapterPackage().toBytes()), 0);
    VRBChaptersRelt *kept = m_chapters;
    QCOMPARE(open(chapterPackage("<chapter>").toBytes()), 6);
    QCOMPARE(m_chapters, kept);
    QCOMPARE(joinedText(m_chapters), "ABCDEF");
}

void TestVbpReader::recordNameOf40Bytes()
{
    const QString id = QString(36, 'k');
    const QByteArray index =
        QStringLiteral(R"(<vb><chapters n="1"><item a="1" b="%1">K</item></chapters></vb>)")
            .arg(id)
            .toUtf8();
    RawPackage book;
    book.add("index.xml", index).add((id + ".vbp").toLatin1(), chapterPackage().toBytes());
    QCOMPARE(book.records[1].name.size(), 40);
    QCOMPARE(open(book.toBytes()), 0);
    QCOMPARE(m_reader->openChapterVBP(id, m_chapters), 0);
    QCOMPARE(joinedText(m_chapters), "ABCDEF");
}

void TestVbpReader::packedWordSplit_data()
{
    QTest::addColumn<int>("flags");
    QTest::newRow("flags 0") << 0;
    QTest::newRow("flags 5") << 5;
    QTest::newRow("flags 255") << 255;
}

void TestVbpReader::packedWordSplit()
{
    QFETCH(int, flags);
    const QByteArray index = R"(<vb title="abcd"/>)";
    QCOMPARE(index.size(), 18);
    RawPackage book;
    book.add("index.xml", index).last().flags = quint8(flags);
    const QByteArray bytes = book.toBytes();
    QCOMPARE(bytes.mid(92 + 44, 4), QByteArray(1, char(flags)) + QByteArray::fromHex("120000"));
    QCOMPARE(open(bytes), 0);
    QCOMPARE(m_bookInfo.m_title, "abcd");

    // A length above 255 uses the upper bytes only.
    const QByteArray big = "<vb title=\"" + QByteArray(300, 'x') + "\"/>";
    RawPackage large;
    large.add("index.xml", big).last().flags = quint8(flags);
    QCOMPARE(open(large.toBytes()), 0);
    QCOMPARE(m_bookInfo.m_title.size(), 300);
}

void TestVbpReader::topLevelNamesAreLatin1()
{
    const QString id = QString::fromUtf8("\xc3\xa9t\xc3\xa9"); // "été"
    RawPackage book;
    book.add("index.xml", OneChapterIndex).add("\xe9t\xe9.vbp", chapterPackage().toBytes());
    QCOMPARE(open(book.toBytes()), 0);
    QCOMPARE(m_reader->openChapterVBP(id, m_chapters), 0);
}

void TestVbpReader::cover_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("hasCover");
    QTest::addColumn<bool>("written");

    QTest::newRow("cover") << "b1" << true << true;
    QTest::newRow("no cover entry") << "b1" << false << false;
    QTest::newRow("empty id") << "" << true << false;
    QTest::newRow("parent escape") << "../../escape" << true << false;
    QTest::newRow("slash") << "a/b" << true << false;
    QTest::newRow("backslash") << "a\\b" << true << false;
    QTest::newRow("dot dot") << ".." << true << false;
    QTest::newRow("dots inside") << "x..y" << true << false;
}

void TestVbpReader::cover()
{
    QFETCH(QString, id);
    QFETCH(bool, hasCover);
    QFETCH(bool, written);

    const QByteArray png = "\x89PNG-not-really";
    RawPackage book;
    book.add("index.xml", OneChapterIndex);
    if (hasCover)
        book.add("58_84.png", png).add("44_63.png", "small").add("82_118.png", "large");
    QCOMPARE(open(book.toBytes(), id), 0);

    const QStringList expected =
        written ? QStringList{"/home/user/ZarvoReader/" + id + ".png"} : QStringList{};
    QCOMPARE(pngFiles(), expected);
    if (written) {
        QFile file(BookInfoFolder + "/" + id + ".png");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), png);
    }
}

void TestVbpReader::coverReplacesStaleFile()
{
    // A cover left by an earlier package under the same id, of the same size
    // but other bytes, is replaced; reopening keeps the right one.
    const QByteArray png = "\x89PNG-new-cover";
    QVERIFY(QDir().mkpath(BookInfoFolder));
    QFile stale(BookInfoFolder + "/same.png");
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray(png.size(), 'x'));
    stale.close();
    RawPackage book;
    book.add("index.xml", OneChapterIndex).add("58_84.png", png);
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(open(book.toBytes(), "same"), 0);
        QFile file(BookInfoFolder + "/same.png");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), png);
    }
}

void TestVbpReader::chapterTextBudget()
{
    // 65 pieces of 1 MiB each name the same bytes: more than a chapter may hold.
    const int piece = 1 << 20;
    QList<QList<int>> pieces;
    for (int i = 0; i < 65; ++i)
        pieces.append({0, piece});
    QCOMPARE(open(chapterPackage(piecesXml(pieces), QByteArray(piece, 'a')).toBytes()), 10);
    QVERIFY(!m_chapters);
    pieces.removeLast();
    QCOMPARE(open(chapterPackage(piecesXml(pieces), QByteArray(piece, 'a')).toBytes()), 0);
    QCOMPARE(m_chapters->count(), 64);
}

void TestVbpReader::roundTrip()
{
    BookSource source;
    source.id = "rt-1";
    source.title = QString::fromUtf8("Mond \xe6\x9c\x88 & <Sterne>");
    source.author = "Ann O'Neil";
    source.description = "Two chapters.";
    source.chapters = {{"First", QString::fromUtf8("Hello \xe4\xb8\x96\xe7\x95\x8c\nline two\n")},
                       {"Second", QString(9000, QChar(0x6587))}};
    BookPacker packer(source);
    QString error;
    const QByteArray bytes = packer.toBytes(&error);
    QVERIFY2(!bytes.isEmpty(), qPrintable(error));

    QCOMPARE(open(bytes, source.id), 0);
    QCOMPARE(m_bookInfo.m_title, source.title);
    QCOMPARE(m_bookInfo.m_keys.m_author, source.author);
    QCOMPARE(m_bookInfo.m_description, source.description);
    QCOMPARE(m_bookInfo.m_caplist.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(m_bookInfo.m_caplist.at(i).m_title, source.chapters.at(i).title);
        QCOMPARE(m_reader->openChapterVBP(m_bookInfo.m_caplist.at(i).m_id, m_chapters), 0);
        QCOMPARE(joinedText(m_chapters), source.chapters.at(i).text);
    }
    QCOMPARE(m_chapters->count(), 3); // 9000 units in pieces of at most 4096

    const QImage cover(BookInfoFolder + "/rt-1.png");
    QCOMPARE(cover.size(), QSize(58, 84));

    // The plain container writer agrees with the reader on a 40-byte name.
    VbpWriter writer;
    writer.addRecord("index.xml", OneChapterIndex, 7);
    writer.addRecord(QByteArray(36, 'w') + ".vbp", chapterPackage().toBytes(), 200);
    QCOMPARE(open(writer.toBytes()), 0);
    QCOMPARE(m_reader->openChapterVBP(QString(36, 'w'), m_chapters), 0);
    QCOMPARE(joinedText(m_chapters), "ABCDEF");
}

QTEST_MAIN(TestVbpReader)
#include "tst_vbpreader.moc"
