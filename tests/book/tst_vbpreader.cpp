#include "commondef.h"
#include "qfilestream.h"
#include "rawpackage.h"
#include "vbpreader.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

const QByteArray Cover = "\x89PNG-not-really";
const QByteArray OneChapterIndex =
    R"(<vb id="b1" title="Book"><keys><author>Ann</author></keys><chapters n="1"><item a="1" b="c1">One</item></chapters></vb>)";

QByteArray utf16le(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
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

template <typename Change> QByteArray tweaked(RawPackage p, Change change)
{
    change(p);
    return p.toBytes();
}

QString joinedText(VRBChaptersRelt *relation)
{
    QString text;
    for (int i = 0; relation && i < relation->count(); ++i) {
        const QByteArray &bytes = relation->getItem(i)->m_text;
        text += QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                                   bytes.size() / 2);
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

    // Changes a file behind the reader's back: "remove", "rename" (a new file
    // renamed over it, as a copy tool does) or "rewrite" (the same file, new bytes).
    void changeFile(const QString &change, const QString &path, const QByteArray &bytes)
    {
        if (change == "remove")
            QVERIFY(QFile::remove(path));
        QFile same(path);
        if (change == "rewrite")
            QVERIFY(same.open(QIODevice::WriteOnly) && same.write(bytes) == bytes.size());
        if (change != "rename")
            return;
        const QString fresh = write(bytes, QStringLiteral("fresh.tmp"));
        QVERIFY(std::rename(QFile::encodeName(fresh).constData(),
                            QFile::encodeName(path).constData()) == 0);
    }

    QStringList pngFiles() const
    {
        QStringList found;
        QDirIterator it(m_root.path(), {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
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
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("ZARVOREADER_ROOT", QFile::encodeName(m_root.path()));
    }

    void init()
    {
        m_reader = std::make_unique<VbpReader>();
        m_chapters = nullptr;
        QDir(QString(BookInfoFolder)).removeRecursively();
    }

    void openErrors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("expected");

        RawPackage book;
        book.add("index.xml", OneChapterIndex);
        const auto count = [&](qint32 n) {
            return tweaked(book, [n](RawPackage &p) { p.fileCount = n; });
        };
        const auto index = [&](std::optional<qint32> offset, std::optional<quint32> length) {
            return tweaked(book, [&](RawPackage &p) {
                p.records[0].offset = offset;
                p.records[0].length = length;
            });
        };
        const auto pieces = [](const QList<QList<int>> &list) {
            return chapterPackage(piecesXml(list)).toBytes();
        };

        QTest::newRow("book") << book.toBytes() << 0;
        QTest::newRow("chapter") << chapterPackage().toBytes() << 0;
        QTest::newRow("91 bytes") << book.toBytes().left(91) << 3;
        QTest::newRow("wrong tag") << tweaked(book, [](RawPackage &p) { p.tag = "VBP1"; }) << 4;
        QTest::newRow("no files") << count(0) << 5;
        // 91 + 48 * count overflows 32 bits; nothing may be reserved for it.
        QTest::newRow("count wrapping to small") << count(0x05555556) << 3;
        RawPackage two;
        two.add("a", {}).add("b", {});
        QTest::newRow("two entries, 187 bytes") << two.toBytes().left(187) << 3;
        QTest::newRow("two entries, 188 bytes") << two.toBytes() << 4; // passes the size test

        QTest::newRow("index offset 0") << index(0, {}) << 3;
        QTest::newRow("index length 0") << index({}, 0) << 3;
        QTest::newRow("index past end") << index({}, OneChapterIndex.size() + 1) << 3;
        QTest::newRow("index offset+length overflows int") << index(0x7ffffff0, 0x100) << 3;
        QTest::newRow("index ends exactly at end") << index({}, OneChapterIndex.size()) << 0;
        QTest::newRow("index malformed")
            << RawPackage().add("index.xml", "<vb><chapters>").toBytes() << 6;
        for (const char *cover : {"58_84.png", "44_63.png", "82_118.png"}) {
            RawPackage p = book;
            p.add(cover, "png").records.last().length = 4;
            QTest::addRow("%s past end", cover) << p.toBytes() << 3;
        }

        QTest::newRow("content without chapter.xml")
            << RawPackage().add("content.txt", "ab").toBytes() << 4;
        QTest::newRow("chapter.xml without content")
            << RawPackage().add("chapter.xml", piecesXml({})).toBytes() << 4;
        QTest::newRow("chapter.xml past end")
            << tweaked(chapterPackage(), [](RawPackage &p) { p.records[0].length = 10000; }) << 3;
        QTest::newRow("chapter.xml malformed") << chapterPackage("<chapter><text").toBytes() << 6;
        QTest::newRow("piece past end of file") << pieces({{0, 6}, {6, 100}}) << 3;
        // The piece would still be inside the file, but not inside "content.txt".
        QTest::newRow("piece past end of content.txt")
            << chapterPackage(piecesXml({{6, 10}})).add("after", QByteArray(100, 'z')).toBytes()
            << 3;
        QTest::newRow("piece with negative offset") << pieces({{-4, 2}}) << 3;
        QTest::newRow("piece offset+length overflows int") << pieces({{2147483600, 100}}) << 3;
        QTest::newRow("non-numeric piece is empty")
            << chapterPackage(R"(<chapter><text a="c" b="x" c="y"/></chapter>)").toBytes() << 0;
    }

    void openErrors()
    {
        QFETCH(QByteArray, bytes);
        QTEST(open(bytes), "expected");
    }

    void withoutPackage()
    {
        QCOMPARE(m_reader->openChapterVBP("c1", m_chapters), 1);
        QCOMPARE(m_reader->openVBP("b1", QString(), m_chapters, m_bookInfoPtr), 1);
        QCOMPARE(m_reader->openVBP("b1", m_root.filePath("no.vbp"), m_chapters, m_bookInfoPtr), 2);
        QCOMPARE(m_reader->openVBP("b1", m_root.path(), m_chapters, m_bookInfoPtr), 2);
    }

    void nestedChapters_data()
    {
        QTest::addColumn<QByteArray>("book");
        QTest::addColumn<QString>("chapter");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("text");

        const QByteArray good = chapterPackage().toBytes();
        const auto inBook = [](const QByteArray &nested) { return bookPackage(nested).toBytes(); };
        QTest::newRow("good") << inBook(good) << "c1" << 0 << "ABCDEF";
        QTest::newRow("no such chapter") << inBook(good) << "c7" << 5 << "";
        QTest::newRow("nested record past end")
            << tweaked(bookPackage(good), [](RawPackage &p) { p.records[1].length = 1 << 20; })
            << "c1" << 3 << "";
        QTest::newRow("nested tag not compared")
            << inBook(tweaked(chapterPackage(), [](RawPackage &p) { p.tag = "JUNK"; })) << "c1" << 0
            << "ABCDEF";
        // Inside the book file, where the filler holds a good description, but
        // outside the nested record.
        RawPackage lured = chapterPackage();
        lured.records[0].offset = good.size() + 16;
        const QByteArray lure = QByteArray(16, ' ') + lured.records[0].data + QByteArray(64, ' ');
        QTest::newRow("nested chapter.xml outside its record")
            << bookPackage(lured.toBytes(), OneChapterIndex, lure).toBytes() << "c1" << 2 << "";
        QTest::newRow("nested piece past content.txt")
            << inBook(chapterPackage(piecesXml({{0, 14}})).toBytes()) << "c1" << 2 << "";
        QTest::newRow("last content.txt counts")
            << inBook(chapterPackage().add("content.txt", utf16le("xyzuvw")).toBytes()) << "c1" << 0
            << "xyzuvw";

        RawPackage named;
        named.add("index.xml", OneChapterIndex).add("\xe9t\xe9.vbp", good);
        QTest::newRow("record names are Latin-1")
            << named.toBytes() << QString::fromUtf8("\xc3\xa9t\xc3\xa9") << 0 << "ABCDEF";
        named.records[1].name = QByteArray(36, 'k') + ".vbp";
        QTest::newRow("record name of 40 bytes")
            << named.toBytes() << QString(36, 'k') << 0 << "ABCDEF";
        // The low byte of the length word holds flags; lengths above 255 use the rest.
        RawPackage flagged =
            bookPackage(good, QByteArray(OneChapterIndex).replace("Book", QByteArray(300, 'x')));
        for (RawRecord &r : flagged.records)
            r.flags = 0xFF;
        QTest::newRow("flags beside a long length") << flagged.toBytes() << "c1" << 0 << "ABCDEF";
    }

    void nestedChapters()
    {
        QFETCH(QByteArray, book);
        QFETCH(QString, chapter);
        QCOMPARE(open(book), 0);
        QCOMPARE(m_bookInfo.m_caplist.size(), 1);
        QTEST(m_reader->openChapterVBP(chapter, m_chapters), "expected");
        QTEST(joinedText(m_chapters), "text");
        // Lengths alone, as progress counts them: the same pieces are refused.
        m_reader->setAnalysisContent(false);
        QTEST(m_reader->openChapterVBP(chapter, m_chapters), "expected");
    }

    void nestedStreamForm_data()
    {
        QTest::addColumn<QByteArray>("nested");
        QTest::addColumn<int>("cut"); // bytes taken off the nested extent's end
        QTest::addColumn<int>("expected");

        const QByteArray good = chapterPackage().toBytes();
        QTest::newRow("good") << good << 0 << 0;
        QTest::newRow("chapter.xml without content.txt")
            << RawPackage().add("chapter.xml", piecesXml({{0, 2}})).add("x", "yy").toBytes() << 0
            << -1;
        QTest::newRow("extent of 92 bytes") << good << int(good.size()) - 92 << 3;
        QTest::newRow("record past extent") << good << 2 << 3;
        QTest::newRow("content only keeps chapters")
            << RawPackage().add("content.txt", "ab").toBytes() << 0 << 0;
    }

    void nestedStreamForm()
    {
        QFETCH(QByteArray, nested);
        QFETCH(int, cut);
        const QByteArray before(37, 'p');
        const QString path = write(before + nested + QByteArray(500, 't'), "nested.bin");
        QFileStream stream;
        QVERIFY(stream.Open(QFile::encodeName(path).constData(), 1));
        VRBChaptersRelt sentinel;
        VRBChaptersRelt *chapters = &sentinel;
        const int base = int(before.size());
        const int end = base + int(nested.size()) - cut;
        QTEST(m_reader->openVBP(stream, base, end, "c1", chapters), "expected");
        if (QByteArray(QTest::currentDataTag()) == "content only keeps chapters")
            QCOMPARE(chapters, &sentinel);
        if (QByteArray(QTest::currentDataTag()) == "good")
            QCOMPARE(joinedText(chapters), "ABCDEF");

        // Bounds that do not describe a place inside the file.
        QCOMPARE(m_reader->openVBP(stream, -1, end, "c1", chapters), 3);
        QCOMPARE(m_reader->openVBP(stream, end, base, "c1", chapters), 3);
        QCOMPARE(m_reader->openVBP(stream, base, 1 << 30, "c1", chapters), 3);
    }

    void chapterRelation()
    {
        // Pieces keep the description's order, each zero-terminated.
        QCOMPARE(
            open(chapterPackage(piecesXml({{4, 2}, {0, 2}, {2, 2}}), utf16le("abc")).toBytes()), 0);
        QCOMPARE(m_chapters->count(), 3);
        QCOMPARE(m_chapters->getItem(0)->m_off, 4);
        QCOMPARE(m_chapters->getItem(0)->m_text.constData()[2], '\0');
        QCOMPARE(joinedText(m_chapters), "cab");
        // A description that does not parse leaves the last relation alone.
        VRBChaptersRelt *kept = m_chapters;
        QCOMPARE(open(chapterPackage("<chapter>").toBytes()), 6);
        QCOMPARE(m_chapters, kept);
        QCOMPARE(joinedText(m_chapters), "cab");
        // Once a new chapter is built the old relation is gone: no dangling alias.
        QCOMPARE(open(chapterPackage(piecesXml({{0, 2}, {0, 99}})).toBytes()), 3);
        QVERIFY(!m_chapters);
        QCOMPARE(open(chapterPackage().toBytes()), 0);
        QVERIFY(m_chapters);
        QCOMPARE(open(chapterPackage(piecesXml({})).toBytes()), 0);
        QVERIFY(!m_chapters);
    }

    void cover_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("hasCover");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QByteArray>("earlier"); // a cover already there

        QTest::newRow("cover") << "b1" << true << true << QByteArray();
        QTest::newRow("stale cover of the same size")
            << "b1" << true << true << QByteArray(Cover.size(), 'x');
        QTest::newRow("no cover entry") << "b1" << false << false << QByteArray();
        QTest::newRow("empty id") << "" << true << false << QByteArray();
        QTest::newRow("parent escape") << "../../escape" << true << false << QByteArray();
        QTest::newRow("slash") << "a/b" << true << false << QByteArray();
        QTest::newRow("backslash") << "a\\b" << true << false << QByteArray();
        QTest::newRow("dot dot") << ".." << true << false << QByteArray();
    }

    void cover()
    {
        QFETCH(QString, id);
        QFETCH(bool, hasCover);
        QFETCH(bool, written);
        QFETCH(QByteArray, earlier);

        QFile file(BookInfoFolder + "/" + id + ".png");
        QVERIFY(QDir().mkpath(BookInfoFolder));
        QVERIFY(earlier.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(earlier)));
        file.close();
        RawPackage book;
        book.add("index.xml", OneChapterIndex);
        if (hasCover)
            book.add("58_84.png", Cover).add("44_63.png", "small").add("82_118.png", "large");
        QCOMPARE(open(book.toBytes(), id), 0);
        QCOMPARE(pngFiles(),
                 written ? QStringList{"/home/user/ZarvoReader/" + id + ".png"} : QStringList{});
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(),
                 written ? Cover : QByteArray());
        if (!written)
            return;
        // The next open leaves an unchanged cover as it is.
        const QDateTime yesterday = QDateTime::currentDateTime().addDays(-1);
        QVERIFY(file.setFileTime(yesterday, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(open(book.toBytes(), id), 0);
        QCOMPARE(QFileInfo(file.fileName()).lastModified().toSecsSinceEpoch(),
                 yesterday.toSecsSinceEpoch());
    }

    void coverChangedBetweenOpens_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("unchanged") << "none";
        QTest::newRow("removed") << "remove";
        QTest::newRow("replaced") << "rename";
        QTest::newRow("rewritten in place") << "rewrite";
    }

    void coverChangedBetweenOpens()
    {
        QFETCH(QString, change);

        RawPackage book;
        book.add("index.xml", OneChapterIndex).add("58_84.png", Cover);
        const QString path = BookInfoFolder + "/b1.png";
        QCOMPARE(open(book.toBytes()), 0);
        changeFile(change, path, "other");
        // The same reader opens the book again: the cover is what the package holds.
        QCOMPARE(open(book.toBytes()), 0);
        QFile cover(path);
        QVERIFY(cover.open(QIODevice::ReadOnly));
        QCOMPARE(cover.readAll(), Cover);
    }

    void packageChangedBeforeChapter_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text");
        QTest::newRow("unchanged") << "none" << 0 << "ABCDEF";
        QTest::newRow("replaced") << "rename" << 0 << "UVWXYZ";
        QTest::newRow("rewritten in place") << "rewrite" << 0 << "UVWXYZ";
        QTest::newRow("removed") << "remove" << 2 << QString();
    }

    void packageChangedBeforeChapter()
    {
        QFETCH(QString, change);
        // The chapter is read from the file the path names when it is read,
        // not from the one the book was opened from.
        const QString path = m_root.filePath("p.vbp");
        QCOMPARE(open(bookPackage(chapterPackage().toBytes()).toBytes()), 0);
        const QByteArray other =
            bookPackage(chapterPackage(piecesXml({{0, 6}, {6, 6}}), utf16le("UVWXYZ")).toBytes())
                .toBytes();
        changeFile(change, path, other);
        QString read;
        QTEST(m_reader->openChapterVBP("c1", m_chapters, read), "result");
        QTEST(read, "text");
    }

    void engineText_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text");

        const QByteArray abcdef = utf16le("ABCDEF");
        QTest::newRow("pieces in a row") << piecesXml({{0, 6}, {6, 6}}) << abcdef << "ABCDEF";
        QTest::newRow("odd last piece") << piecesXml({{0, 6}, {6, 5}}) << abcdef << "ABCDE";
        // A half code unit inside drops out, so later pieces start mid-unit.
        QTest::newRow("odd piece inside") << piecesXml({{0, 3}, {3, 4}}) << abcdef << QString();
        QTest::newRow("out of order") << piecesXml({{6, 6}, {0, 6}}) << abcdef << "DEFABC";
        QTest::newRow("gap") << piecesXml({{0, 2}, {4, 2}}) << abcdef << "AC";
        QTest::newRow("no pieces") << piecesXml({}) << abcdef << "";
        const QString longText = QString(5000, QChar(0x4E00)) + "end";
        QTest::newRow("past the first bytes read")
            << piecesXml({{0, 4000}, {4000, int(longText.size()) * 2 - 4000}}) << utf16le(longText)
            << longText;
    }

    void engineText()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QByteArray, content);
        QFETCH(QString, text);

        // The engine's form reads the text itself; it must be what the pieces
        // hold, each cut to whole code units.
        QCOMPARE(open(bookPackage(chapterPackage(xml, content).toBytes()).toBytes()), 0);
        QCOMPARE(m_reader->openChapterVBP("c1", m_chapters), 0);
        const QString fromPieces = joinedText(m_chapters);
        QString read = QStringLiteral("stale");
        QCOMPARE(m_reader->openChapterVBP("c1", m_chapters, read), 0);
        QCOMPARE(read, fromPieces);
        if (!text.isNull())
            QCOMPARE(read, text);
    }

    void recordsAroundFirstRead_data()
    {
        QTest::addColumn<int>("pad");     // bytes of a record before the description
        QTest::addColumn<int>("records"); // empty records listed before it
        const int index = int(OneChapterIndex.size());
        const int window = 16 * 1024;
        // Header and directory of the five records below.
        const int front = 92 + 48 * 5;
        QTest::newRow("all inside") << 0 << 0;
        QTest::newRow("description ends the first read") << window - front - index << 0;
        QTest::newRow("description across its end") << window - front - index / 2 << 0;
        QTest::newRow("cover across its end")
            << window - front - index - int(Cover.size()) / 2 << 0;
        QTest::newRow("all past it") << window << 0;
        QTest::newRow("directory past it") << 0 << 400;
    }

    void recordsAroundFirstRead()
    {
        QFETCH(int, pad);
        QFETCH(int, records);

        RawPackage book;
        book.add("pad", QByteArray(pad, 'p'));
        for (int i = 0; i < records; ++i)
            book.add("r" + QByteArray::number(i), QByteArray());
        book.add("index.xml", OneChapterIndex)
            .add("58_84.png", Cover)
            .add("c1.vbp", chapterPackage().toBytes())
            .add("filler", "f");
        QCOMPARE(open(book.toBytes()), 0);
        QCOMPARE(m_bookInfo.m_title, "Book");
        QFile cover(BookInfoFolder + "/b1.png");
        QVERIFY(cover.open(QIODevice::ReadOnly));
        QCOMPARE(cover.readAll(), Cover);
        QCOMPARE(m_reader->openChapterVBP("c1", m_chapters), 0);
        QCOMPARE(joinedText(m_chapters), "ABCDEF");
    }

    void chapterTextBudget()
    {
        // 65 pieces of 1 MiB each name the same bytes: more than a chapter may hold.
        const int piece = 1 << 20;
        const QList<QList<int>> pieces(65, {0, piece});
        QCOMPARE(open(chapterPackage(piecesXml(pieces), QByteArray(piece, 'a')).toBytes()), 10);
        QVERIFY(!m_chapters);
        QCOMPARE(open(chapterPackage(piecesXml(pieces.mid(1)), QByteArray(piece, 'a')).toBytes()),
                 0);
        QCOMPARE(m_chapters->count(), 64);
    }
};

QTEST_MAIN(TestVbpReader)
#include "tst_vbpreader.moc"
