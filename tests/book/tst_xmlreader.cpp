#include "chapterxmlitem.h"
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
        QStringList parts;
        for (const auto &t : item.Chater)
            parts << "t:" + t.Chapterhref + "," + t.Chapteroffset + "," + t.Chapterlength;
        for (const auto &i : item.ImgInfo)
            parts << "i:" + i.align + "," + i.height + "," + i.src;
        QCOMPARE(parts.join(' '), expected);
    }
};

QTEST_GUILESS_MAIN(TestXmlReader)
#include "tst_xmlreader.moc"
