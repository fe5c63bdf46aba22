#include "chapterxmlitem.h"
#include "plainxmlscanner.h"
#include "sharedtext.h"
#include "vrrbookinfo.h"
#include "xmlreader.h"

#include <QTest>

namespace {

bool parseBook(QByteArray xml, VRRBookInfo &info)
{
    char *text = xml.data();
    VRRBookInfo *result = &info;
    return XmlReader().ParserBookIndexInfo(text, result);
}

// "title|id|comment|commentFlag|total|chapters as capt/id/title;..." in one line.
QString summary(const VRRBookInfo &b)
{
    QStringList chapters;
    for (const auto &c : b.m_caplist)
        chapters << c.m_capt + "/" + c.m_id + "/" + c.m_title;
    return QStringList{b.m_title,         b.m_Title_BookName,           b.m_id,
                       b.m_comment_flag,  b.m_Comment_Flag ? "T" : "F", QString::number(b.m_total),
                       chapters.join(';')}
        .join('|');
}

// Everything a description can set, for comparing two readings of it.
QString fullSummary(const VRRBookInfo &b)
{
    const QStringList keys{b.m_keys.m_author, b.m_keys.m_publisher, b.m_keys.m_paper_link};
    return QStringList{summary(b),
                       b.m_Ret_ActionFlag,
                       b.m_FileType,
                       keys.join('/'),
                       QString::number(b.m_keys.m_score),
                       b.m_display_lines,
                       b.m_description}
        .join('|');
}

QString chapterSummary(const ChapterXMLItem &item)
{
    QStringList parts;
    for (const auto &t : item.Chater)
        parts << "t:" + t.Chapterhref + "," + t.Chapteroffset + "," + t.Chapterlength;
    for (const auto &i : item.ImgInfo)
        parts << "i:" + i.align + "," + i.height + "," + i.src;
    return parts.join(' ');
}

// The quick reader either declines a description or reads it exactly as
// XmlReader does; answers whether it took it.
bool quickReadAgrees(QByteArray xml, bool chapter)
{
    char *text = xml.data();
    if (chapter) {
        ChapterXMLItem quick;
        ChapterXMLItem full;
        if (!PlainXmlScanner(text).scanChapter(quick))
            return false;
        const bool ok = XmlReader().ParserBookChapterInfo(text, &full);
        if (!ok || chapterSummary(quick) != chapterSummary(full))
            qFatal("quick chapter reading differs: %s", xml.constData());
        return true;
    }
    // Both start from an earlier book, as the reused description does.
    const QByteArray earlier =
        R"(<vb title="Earlier" id="e"><keys><author>A</author></keys><chapters n="1">)"
        R"(<item a="1" b="e1">E</item></chapters></vb>)";
    VRRBookInfo quick;
    VRRBookInfo full;
    parseBook(earlier, quick);
    parseBook(earlier, full);
    const QString before = fullSummary(quick);
    if (!PlainXmlScanner(text).scanIndex(quick)) {
        if (fullSummary(quick) != before)
            qFatal("a declined description changed the book: %s", xml.constData());
        return false;
    }
    if (!parseBook(xml, full) || fullSummary(quick) != fullSummary(full))
        qFatal("quick book reading differs: %s", xml.constData());
    return true;
}

} // namespace

class TestXmlReader : public QObject
{
    Q_OBJECT

private slots:
    void bookDescription_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("expected");

        QTest::newRow("comment flag compared exactly")
            << QByteArray(R"(<vb title="Moon" comment_flag="True"/>)") << true
            << "Moon|Moon||True|F|0|";
        QTest::newRow("comment flag true")
            << QByteArray(R"(<vb comment_flag="true" id="a"/>)") << true << "||a|true|T|0|";
        QTest::newRow("id element overrides attribute")
            << QByteArray(R"(<vb id="attr"><id>elem</id></vb>)") << true << "||elem||F|0|";
        QTest::newRow("chapters by position, names ignored")
            << QByteArray(
                   R"(<vb><chapters n="3"><item zz="cap" aa="ch01">One</item></chapters></vb>)")
            << true << "||||F|3|cap/ch01/One";
        QTest::newRow("chapter title with markup")
            << QByteArray(
                   R"(<vb><chapters n="1"><item a="1" b="x">A<b>B</b>C</item></chapters></vb>)")
            << true << "||||F|1|1/x/ABC";
        QTest::newRow("id inside msgs is not the book id")
            << QByteArray(R"(<vb id="a"><msgs><id>m</id></msgs><foo><id>f</id></foo></vb>)") << true
            << "||a||F|0|";
        QTest::newRow("declared encoding ignored")
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><vb title=\"\xc3\xa9\"/>")
            << true << QString::fromUtf8("\xc3\xa9|\xc3\xa9|||F|0|");
        QTest::newRow("truncated keeps what was read")
            << QByteArray(R"(<vb title="T"><chapters n="2"><item a="1" b="c1">One</item><item)")
            << false << "T|T|||F|2|1/c1/One";
        QTest::newRow("empty input") << QByteArray() << false << "||||F|0|";
    }

    void bookDescription()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, ok);
        QFETCH(QString, expected);

        VRRBookInfo info;
        QCOMPARE(parseBook(xml, info), ok);
        QCOMPARE(summary(info), expected);
        quickReadAgrees(xml, false);
    }

    void keysAndTexts()
    {
        VRRBookInfo info;
        QVERIFY(parseBook(R"(<vb title="First" ret="0"><keys><author>A</author><score>42</score>
        </keys><description>D<br/>E</description><chapters n="2"><item a="1" b="a">A</item>
        <item a="2" b="b">B</item></chapters></vb>)",
                          info));
        QCOMPARE(info.m_Ret_ActionFlag, "0");
        QCOMPARE(info.m_keys.m_author, "A");
        QCOMPARE(info.m_keys.m_score, short(42));
        QCOMPARE(info.m_description, "DE");

        // A second description overwrites only what it names; no "chapters" keeps the list.
        QVERIFY(parseBook(R"(<vb title="Second"><keys><score>99999</score></keys></vb>)", info));
        QCOMPARE(info.m_title, "Second");
        QCOMPARE(info.m_description, "DE");
        QCOMPARE(info.m_caplist.size(), 2);
        QCOMPARE(info.m_keys.m_score, short(0)); // beyond 16 bits
        QVERIFY(
            parseBook(R"(<vb><chapters n="1"><item a="1" b="z">Z</item></chapters></vb>)", info));
        QCOMPARE(info.m_caplist.size(), 1);
    }

    void chapterDescription_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("expected");

        QTest::newRow("text and img")
            << QByteArray(
                   R"(<chapter><text a="x" b="10" c="20"/><img a="center" b="80" c="p.png"/></chapter>)")
            << true << "t:x,10,20 i:center,80,p.png";
        QTest::newRow("attribute order decides")
            << QByteArray(R"(<chapter><text length="20" offset="10" href="x"/></chapter>)") << true
            << "t:20,10,x";
        QTest::newRow("pieces in document order")
            << QByteArray(
                   R"(<chapter><text h="c" o="4" l="2"/><p><text h="a" o="0" l="2"/></p><text h="b" o="2" l="2"/></chapter>)")
            << true << "t:c,4,2 t:a,0,2 t:b,2,2";
        QTest::newRow("after the end tag is not read")
            << QByteArray(R"(<chapter><text h="a" o="0" l="2"/></chapter><text h="late"/><<<)")
            << true << "t:a,0,2";
        QTest::newRow("truncated")
            << QByteArray(R"(<chapter><text h="a" o="0" l="2"/><text h="b")") << false << "t:a,0,2";
        QTest::newRow("empty") << QByteArray() << false << "";
    }

    void chapterDescription()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, ok);
        QFETCH(QString, expected);

        ChapterXMLItem item;
        item.Chater.append({"stale", "1", "1"}); // cleared by the parse
        item.ImgInfo.append({"stale", "1", "1"});
        char *text = xml.data();
        QCOMPARE(XmlReader().ParserBookChapterInfo(text, &item), ok);
        QCOMPARE(chapterSummary(item), expected);
        quickReadAgrees(xml, true);
    }

    // Descriptions in the packer's plain form are read by the quick reader;
    // anything past it is left to XmlReader.
    void quickReading_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("chapter");
        QTest::addColumn<bool>("taken");

        const QByteArray book =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<vb ret=\"0\" id=\"t.book\" title=\"\xe6\xb5\x8b\xe8\xaf\x95\xe4"
            "\xb9\xa6\" comment_flag=\"false\" type=\"txt\">\n"
            " <keys>\n  <author>Test Author</author>\n  <publisher>P</publisher>\n"
            "  <score> 7 </score>\n  <paper_link></paper_link>\n </keys>\n"
            " <display_lines/>\n <description>Line one\n\tline two</description>\n"
            " <chapters count=\"2\">\n  <item caption=\"1\" id=\"c1\">One</item>\n"
            "  <item caption=\"2\" id=\"c2\"></item>\n </chapters>\n</vb>\n";
        const QByteArray chapter = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<chapter>\n"
                                   " <text href=\"content.txt\" offset=\"0\" length=\"8\"/>\n"
                                   " <text href=\"content.txt\" offset=\"8\" length=\"2\"/>\n"
                                   "</chapter>\n";
        // Rows the quick reader must decline: the plain form with one thing changed.
        auto declined = [](const char *tag, QByteArray xml, const char *from, const char *to) {
            const bool isChapter = xml.contains("<chapter>");
            QTest::newRow(tag) << xml.replace(from, to) << isChapter << false;
        };

        QTest::newRow("book") << book << false << true;
        QTest::newRow("book, empty elements")
            << QByteArray(R"(<vb id="a"><keys/><chapters n="0"/></vb>)") << false << true;
        declined("book, entity", book, "One", "A &amp; B");
        declined("book, carriage return", book, "One", "A\r\nB");
        declined("book, quote in text", book, "One", "\"Q\"");
        declined("book, U+FFFF", book, "One", "\xef\xbf\xbf");
        declined("book, ]]> in text", book, "One", "a]]>b");
        declined("book, repeated attribute", book, "type=", "ret=\"1\" type=");
        declined("book, unknown element", book, "<display_lines/>", "<msgs/>");
        declined("book, text after the end", book, "</vb>\n", "</vb>\nx");
        declined("book, space before the declaration", book, "<?xml", " <?xml");
        QTest::newRow("chapter") << chapter << true << true;
        QTest::newRow("chapter, no declaration")
            << QByteArray(R"(<chapter><text a="x"/><text/></chapter>tail)") << true << true;
        declined("chapter, image", chapter, "<text", "<img");
        declined("chapter, namespace", chapter, "<text ", "<text xmlns=\"u\" ");
        declined("chapter, tab in a value", chapter, "\"0\"", "\"\t0\"");
        declined("chapter, open text element", chapter, "\"2\"/>", "\"2\"></text>");
        declined("chapter, unclosed", chapter, "</chapter>\n", "");
    }

    void quickReading()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, chapter);
        QFETCH(bool, taken);

        QCOMPARE(quickReadAgrees(xml, chapter), taken);
    }

    void sharedText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QByteArray("c0001");
        QTest::newRow("two and three bytes") << QByteArray("\xC3\xA9测试书");
        QTest::newRow("byte order mark first") << QByteArray("\xEF\xBB\xBF"
                                                             "abc");
        QTest::newRow("byte order mark inside") << QByteArray("a\xEF\xBB\xBF"
                                                              "b");
        QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80x");
        QTest::newRow("overlong") << QByteArray("\xE0\x80\xAF\xC0\xAF");
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80");
        QTest::newRow("cut short") << QByteArray("ab\xE6\xB5");
        QTest::newRow("stray continuation") << QByteArray("\x80\xBF");
        QTest::newRow("empty") << QByteArray("");
    }

    void sharedText()
    {
        QFETCH(QByteArray, bytes);

        // Each value reads as on its own, between neighbours of every kind,
        // and outlives the block it came from.
        QString value;
        QString after;
        {
            SharedText text(bytes.size() + 16);
            const QString before = text.decode("\xE6\xB5");
            value = text.decode(bytes);
            after = text.decode("z");
            QCOMPARE(before, QString::fromUtf8("\xE6\xB5"));
        }
        QCOMPARE(value, QString::fromUtf8(bytes));
        QCOMPARE(value.utf16()[value.size()], u'\0');
        // Changing one value leaves the next one alone.
        value.append(QStringLiteral("!!"));
        QCOMPARE(value, QString::fromUtf8(bytes) + "!!");
        QCOMPARE(after, "z");
    }
};

QTEST_GUILESS_MAIN(TestXmlReader)
#include "tst_xmlreader.moc"
