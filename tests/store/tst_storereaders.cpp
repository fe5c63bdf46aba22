// The readers of the store's answers: real-shaped documents, error answers,
// text split into pieces, and hostile input.
#include "bookinfoitem.h"
#include "bookinfoxmlhandler.h"
#include "downloadtype.h"
#include "ebooklibraryxmlhandler.h"
#include "ebookreaderdownloadxmlhandler.h"
#include "ebookreaderlibrary.h"
#include "ebookreadermyaccountxmlhandler.h"
#include "ebookreadersearchpushkeyxmlhandler.h"
#include "ebookreadersearchresult.h"
#include "ebookreadersearchxmlhandler.h"
#include "ebookreaderusrlogxmlhandler.h"
#include "myaccountinfo.h"
#include "searchpushkeyword.h"
#include "userlogininfo.h"
#include "xmlsaxreader.h"

#include <QtTest>
#include <functional>

namespace {

// Hands its data out one byte per read, the way a slow network would.
class OneByteDevice : public QIODevice
{
public:
    explicit OneByteDevice(const QByteArray &data) : m_data(data) { open(ReadOnly | Unbuffered); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_pos >= m_data.size())
            return -1;
        if (maxSize < 1)
            return 0;
        data[0] = m_data.at(m_pos++);
        return 1;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

// Counts the pieces character data arrives in.
class PieceCounter : public XmlSaxHandler
{
public:
    int pieces = 0;
    bool characters(const QString &) override { return ++pieces > 0; }
};

struct Parsed
{
    bool ok = false;
    int code = 0;
    // The reader's text-bearing field that the split tests look at.
    QString text;
};

using Parser = std::function<Parsed(const QByteArray &doc, bool oneByte)>;

// A document through one reader, whole or a byte at a time.
template <typename Handler, typename Record> Parser reader(QString (*text)(const Record &))
{
    return [text](const QByteArray &doc, bool oneByte) {
        Handler handler;
        Record record;
        OneByteDevice device(doc);
        Parsed p;
        p.ok = oneByte ? handler.readFile(&device, &record) : handler.readFile(doc, &record);
        p.code = handler.errorCode();
        p.text = text(record);
        return p;
    };
}

const QMap<QString, Parser> Readers = {
    {"library", reader<EBookLibraryXmlHandler>(+[](const EBookReaderLibrary &r) {
         return r.subcatList.isEmpty() || r.subcatList[0]->BookItemList.isEmpty()
                    ? QString()
                    : r.subcatList[0]->BookItemList[0]->description;
     })},
    {"search",
     reader<EbookReaderSearchXmlHandler>(+[](const EBookReaderSearchResult &r) { return r.tips; })},
    {"keywords", reader<EBookReaderSearchPushKeyXmlHandler>(+[](const SearchPushKeyword &r) {
         return r.keywordList.join(QLatin1Char('|'));
     })},
    {"bookinfo", reader<BookInfoXmlHandler>(+[](const BookInfoItem &r) { return r.description; })},
    {"login", reader<EbookReaderUsrLogXmlHandler>(+[](const UserLoginInfo &r) { return r.usrId; })},
    {"account", reader<EBookReaderMyAccountXmlHandler>(
                    +[](const MyAccountInfo &r) { return QString::number(r.LinesList.size()); })},
    {"download",
     reader<EBookReaderDownloadXmlHandler>(+[](const Downloadtype &r) { return r.link; })},
};

Parsed parse(const QString &name, const QByteArray &doc, bool oneByte = false)
{
    return Readers.value(name)(doc, oneByte);
}

// A whole document into the record; false if the reader refused it.
template <typename Handler, typename Record> bool read(const QByteArray &doc, Record *record)
{
    Handler handler;
    return handler.readFile(doc, record);
}

struct Case
{
    const char *name;
    QByteArray doc;
    bool ok;
    int code;
};

// Every case through every reader; "@" in a document stands for its root.
void addRows(const QList<Case> &cases)
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("code");
    for (const QString &reader : Readers.keys()) {
        const QByteArray root = reader == "keywords" || reader == "bookinfo" ? "vb" : "vr";
        for (const Case &c : cases) {
            QTest::newRow(qPrintable(reader + ": " + c.name))
                << reader << QByteArray(c.doc).replace('@', root) << c.ok << c.code;
        }
    }
}

} // namespace

class TestStoreReaders : public QObject
{
    Q_OBJECT
private slots:
    void answers_data()
    {
        const QByteArray bomb = "<?xml version=\"1.0\"?><!DOCTYPE vr [<!ENTITY a \"aaaaaaaaaa\">"
                                "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                                "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                                "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                                "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]>"
                                "<vr><uid>&e;</uid></vr>";
        addRows({
            {"error code only", "<@ ret=\"error\"><error_code>500</error_code></@>", true, 500},
            {"400 refined by five digits",
             "<@><error_code>400</error_code><error>40012 no such book</error></@>", true, 40012},
            {"401 keeps its code", "<@><error_code>401</error_code><error>40012 no</error></@>",
             true, 401},
            {"400 with a wordy error", "<@><error_code>400</error_code><error>bad</error></@>",
             true, 0},
            {"error before any code", "<@><error>40012 x</error></@>", true, 200},
            {"code not a number", "<@><error_code>x1</error_code></@>", true, 0},
            {"broken after the code", "<@><error_code>403</error_code><oops></@>", false, 403},
            {"broken before any code", "<@><oops></@><error_code>1", false, 200},
            // Hostile: nothing breaks, nothing outside the answer is read.
            {"deep nesting",
             "<vr>" + QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000) +
                 "</vr>",
             true, 200},
            {"huge attribute",
             "<vr ret=\"" + QByteArray(4 << 20, 'r') + "\"><item type=\"piclist\"/></vr>", true,
             200},
            {"wrong root", "<html><body>502 Bad Gateway</body></html>", true, 200},
            {"empty", "", false, 200},
            {"binary", QByteArray("\x00\xff\xfe<\x01vr>", 8), false, 200},
            {"truncated", "<vr ret=\"download\"><link>http://x", false, 200},
            {"two roots", "<vr/><vr/>", false, 200},
            {"entity expansion", bomb, false, 200},
            // Never resolved: the reference stays empty and nothing is read.
            {"external entity",
             "<?xml version=\"1.0\"?><!DOCTYPE vr [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
             "<vr><uid>&x;</uid></vr>",
             true, 200},
            {"unclosed pending items",
             "<vr><catlist><subcat id=\"1\"><item type=\"booklist\" id=\"2\">"
             "<item type=\"sms\" id=\"3\"><line name=\"a\"/>",
             false, 200},
        });
    }

    void answers()
    {
        QFETCH(QString, reader);
        QFETCH(QByteArray, doc);
        QFETCH(bool, ok);
        QFETCH(int, code);
        const Parsed p = parse(reader, doc);
        QCOMPARE(p.ok, ok);
        QCOMPARE(p.code, code);
        QVERIFY(!p.text.contains(QLatin1String("root:")));
    }

    void textInPieces_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QByteArray>("doc");
        QTest::addColumn<QString>("text");
        auto row = [](const char *reader, const QByteArray &doc, const QString &text) {
            QTest::newRow(reader) << QString(reader) << doc << text;
        };
        row("library",
            "<vr><subcat id=\"s\"><item type=\"booklist\" id=\"1\">A tale <![CDATA[of <two>]]> "
            "cit&amp;ies<!-- ad --> by Dickens</item></subcat></vr>",
            "A tale of <two> cit&ies by Dickens");
        row("search", "<vr><tips>Found <![CDATA[12]]> books &#x4E66;</tips></vr>",
            QStringLiteral("Found 12 books 书"));
        row("keywords", "<vb><keys><key>三国<![CDATA[演义]]></key><key>x&lt;y</key></keys></vb>",
            QStringLiteral("三国演义|x<y"));
        row("bookinfo",
            "<vb><description>Line one\nline <![CDATA[two]]> &quot;three&quot;</description></vb>",
            "Line one\nline two \"three\"");
        row("login", "<vr><uid>12<!-- x -->34<![CDATA[56]]></uid></vr>", "123456");
        row("download",
            "<vr ret=\"download\"><link>http://h/get?a=1&amp;amp;cid=<![CDATA[b5]]></link></vr>",
            "http://h/get?a=1&cid=b5");
    }

    void textInPieces()
    {
        QFETCH(QString, reader);
        QFETCH(QByteArray, doc);
        QFETCH(QString, text);
        for (bool oneByte : {false, true}) {
            const Parsed p = parse(reader, doc, oneByte);
            QVERIFY(p.ok);
            QCOMPARE(p.text, text);
        }
    }

    void mixedContentArrivesInPieces()
    {
        // The split-text cases above only prove something if the parser really
        // hands such text over in several pieces.
        PieceCounter counter;
        XmlSaxReader reader;
        reader.setContentHandler(&counter);
        QVERIFY(reader.parse(QByteArray("<vr><uid>12<!-- x -->34<![CDATA[56]]></uid></vr>")));
        QVERIFY(counter.pieces >= 3);
    }

    // These two are defined below the class: moc misreads their raw documents.
    void catalogueStoreFront();
    void catalogueQuirks()
    {
        const QByteArray doc = "<vr><catlist><item id=\"c1\" focus=\"TRUE\"/><item/></catlist>"
                               "<item id=\"stray\" type=\"piclist\"/>"
                               "<recommend><catlist><item id=\"both\"/></catlist></recommend>"
                               "<subcat id=\"outer\"><item type=\"piclist\" id=\"1\"/>"
                               "<subcat id=\"inner\"><item type=\"piclist\" id=\"2\"/></subcat>"
                               "<item type=\"piclist\" id=\"3\"/></subcat></vr>";
        EBookReaderLibrary page;
        QVERIFY(read<EBookLibraryXmlHandler>(doc, &page));
        QCOMPARE(page.catList.size(), 3);
        QVERIFY(!page.catList[0]->focus);
        // Nesting is not enforced: an item inside both lists counts for both.
        QCOMPARE(page.catList[2]->id, "both");
        QCOMPARE(page.recommendList.size(), 1);
        // A sub-category inside another must not be filed twice.
        QCOMPARE(page.subcatList.size(), 1);
        QCOMPARE(page.subcatList[0]->subId, "inner");
        QCOMPARE(page.subcatList[0]->BookItemList.size(), 1);
    }

    void otherRecords();
    void downloadOrders_data()
    {
        QTest::addColumn<QByteArray>("doc");
        // ret, type, sid, itemId, itemUrl, title, text, link, size
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("download")
            << QByteArray(
                   "<vr ret=\"download\" type=\"vbp\" sid=\"no\"><title>T</title><text>Go</text>"
                   "<content>Book</content><link>http://h/d?x=1&amp;amp;cid=b5</link>"
                   "<size>2048</size><title>after size</title></vr>")
            << QStringList{"download", "vbp", "", "", "", "T", "Go", "http://h/d?x=1&cid=b5",
                           "2048"};
        QTest::newRow("download, escaped separator without semicolon")
            << QByteArray(
                   "<vr ret=\"download\"><link>http://h/d?x=1&amp;ampcid=b5&amp;amp;y=2</link>"
                   "<size>x</size></vr>")
            << QStringList{"download", "", "", "", "", "", "", "http://h/d?x=1&cid=b5&y=2", "0"};
        QTest::newRow("charge")
            << QByteArray(
                   "<vr ret=\"chargedef\" sid=\"s1\"><item name=\"n\" type=\"sms\" id=\"i1\" "
                   "url=\"123456106601:PAY b5\" text=\"Pay 2\"/><ok text=\"Yes\"/>"
                   "<cancel text=\"No\"/><title>ignored</title></vr>")
            << QStringList{"chargedef", "", "s1", "i1", "123456106601:PAY b5", "", "", "", "0"};
        QTest::newRow("pay")
            << QByteArray("<vr ret=\"pay\" sid=\"s2\"><title>Confirm</title><text>Pay?</text>"
                          "<title>late</title></vr>")
            << QStringList{"pay", "", "s2", "", "", "Confirm", "Pay?", "", "0"};
        QTest::newRow("other answer")
            << QByteArray("<vr ret=\"later\" sid=\"s3\" type=\"t\"><title>x</title></vr>")
            << QStringList{"later", "", "", "", "", "", "", "", "0"};
    }

    void downloadOrders()
    {
        QFETCH(QByteArray, doc);
        QFETCH(QStringList, expected);

        Downloadtype order;
        QVERIFY(read<EBookReaderDownloadXmlHandler>(doc, &order));
        QCOMPARE(QStringList({order.ret, order.type, order.sid, order.itemId, order.itemUrl,
                              order.title, order.text, order.link, QString::number(order.size)}),
                 expected);
    }
};

void TestStoreReaders::catalogueStoreFront()
{
    const QByteArray doc = R"(<?xml version="1.0" encoding="UTF-8"?>
<vr ret="0">
  <catlist><item id="c1" name="推荐" focus="true"/><item id="c2" focus="false"/></catlist>
  <cat id="c1"/>
  <recommend><item id="b1" name="Dream of the Red Chamber"/></recommend>
  <subcat id="s1" name="New">
    <item type="piclist" id="b2" name="Pic" author="Cao">ignored text</item>
    <item type="booklist" id="b3" name="List" author="not read">A long description</item>
    <item type="wap" id="h1" href="http://w/">Visit</item>
    <item type="sms" id="h2" href="10086" smsrept="r" smscallback="cb">Text us</item>
    <item type="video" id="x"/>
  </subcat>
  <subcat id="s2" name="Top"/>
</vr>)";
    EBookReaderLibrary page;
    QVERIFY(read<EBookLibraryXmlHandler>(doc, &page));
    QCOMPARE(page.currentId, "c1");
    QCOMPARE(page.catList[0]->name, QStringLiteral("推荐"));
    QCOMPARE(page.subcatList.size(), 2);
    const Subcat *s1 = page.subcatList[0];
    // Pictures carry an author, text rows a description; never both.
    QCOMPARE(s1->BookItemList.size(), 2);
    QCOMPARE(QStringList({s1->BookItemList[0]->author, s1->BookItemList[0]->description,
                          s1->BookItemList[1]->author, s1->BookItemList[1]->description}),
             QStringList({"Cao", "", "", "A long description"}));
    QCOMPARE(s1->HrefItemList.size(), 2);
    QCOMPARE(s1->HrefItemList[0]->href, "http://w/");
    QCOMPARE(s1->HrefItemList[1]->smscallback, "cb");
    QCOMPARE(s1->HrefItemList[1]->description, "Text us");
}

void TestStoreReaders::otherRecords()
{
    EBookReaderSearchResult search;
    QVERIFY(read<EbookReaderSearchXmlHandler>(
        R"(<vr ret="0" totalpage="3" pageidx="2"><msgs>ok</msgs>
  <item type="piclist" id="b1" author="A1">not used</item>
  <item type="booklist" id="b2" author="not used">Summary</item><item type="ad" id="b3"/></vr>)",
        &search));
    QCOMPARE(QList<int>({search.totalpage, search.pageidx, search.totalItem}),
             QList<int>({3, 2, 0}));
    QCOMPARE(search.msgs, "ok");
    QCOMPARE(search.bookList.size(), 2);
    QCOMPARE(QStringList({search.bookList[0]->author, search.bookList[0]->description,
                          search.bookList[1]->author, search.bookList[1]->description}),
             QStringList({"A1", "", "", "Summary"}));

    SearchPushKeyword keys;
    QVERIFY(read<EBookReaderSearchPushKeyXmlHandler>(
        "<vb><keys count=\"9\"><key>a</key><key/><key>a</key></keys>"
        "<key>outside</key></vb>",
        &keys));
    QCOMPARE(keys.count, 9);
    QCOMPARE(keys.keywordList, QStringList({"a", "", "a", "outside"}));

    BookInfoItem book;
    QVERIFY(read<BookInfoXmlHandler>("<vb title=\"Journey\"><id>b7</id><author>Wu</author>"
                                     "<description>first</description><description>second"
                                     "</description><display_lines>20</display_lines></vb>",
                                     &book));
    QCOMPARE(
        QStringList({book.bookName, book.id, book.author, book.description, book.displayLines}),
        QStringList({"Journey", "b7", "Wu", "second", "20"}));

    MyAccountInfo account;
    QVERIFY(read<EBookReaderMyAccountXmlHandler>(
        "<vr><line name=\"Balance\" value=\"12\">ignored</line>"
        "<line/><line name=\"Id\" value=\"u9\"/></vr>",
        &account));
    QCOMPARE(account.LinesList.size(), 3);
    QCOMPARE(account.LinesList[0]->value + account.LinesList[1]->name + account.LinesList[2]->name,
             "12Id");
}

QTEST_GUILESS_MAIN(TestStoreReaders)
#include "tst_storereaders.moc"
