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

namespace {

// Hands its data out one byte per read, the way a slow network would.
class OneByteDevice : public QIODevice
{
public:
    explicit OneByteDevice(const QByteArray &data) : m_data(data)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return qMin<qint64>(1, m_data.size() - m_pos) + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_pos >= m_data.size() || maxSize < 1)
            return m_pos >= m_data.size() ? -1 : 0;
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
    bool characters(const QString &) override
    {
        ++pieces;
        return true;
    }
};

struct Parsed
{
    bool ok = false;
    int code = 0;
    // The reader's text-bearing field that the split tests look at.
    QString text;
};

template <typename Handler, typename Record>
bool run(Handler &handler, Record *record, const QByteArray &doc, bool oneByte)
{
    if (!oneByte)
        return handler.readFile(doc, record);
    OneByteDevice device(doc);
    return handler.readFile(&device, record);
}

// Runs a document through the named reader.
Parsed parse(const QString &reader, const QByteArray &doc, bool oneByte = false)
{
    Parsed p;
    if (reader == QLatin1String("library")) {
        EBookLibraryXmlHandler h;
        EBookReaderLibrary r;
        p.ok = run(h, &r, doc, oneByte);
        p.code = h.errorCode();
        if (!r.subcatList.isEmpty() && !r.subcatList.first()->BookItemList.isEmpty())
            p.text = r.subcatList.first()->BookItemList.first()->description;
    } else if (reader == QLatin1String("search")) {
        EbookReaderSearchXmlHandler h;
        EBookReaderSearchResult r;
        p.ok = run(h, &r, doc, oneByte);
        p.code = h.errorCode();
        p.text = r.tips;
    } else if (reader == QLatin1String("keywords")) {
        EBookReaderSearchPushKeyXmlHandler h;
        SearchPushKeyword r;
        p.ok = run(h, &r, doc, oneByte);
        p.code = h.errorCode();
        p.text = r.keywordList.join(QLatin1Char('|'));
    } else if (reader == QLatin1String("bookinfo")) {
        BookInfoXmlHandler h;
        BookInfoItem r;
        p.ok = run(h, &r, doc, oneByte);
        p.code = h.errorCode();
        p.text = r.description;
    } else if (reader == QLatin1String("login")) {
        EbookReaderUsrLogXmlHandler h;
        UserLoginInfo r;
        p.ok = run(h, &r, doc, oneByte);
        p.code = h.errorCode();
        p.text = r.usrId;
    } else if (reader == QLatin1String("account")) {
        EBookReaderMyAccountXmlHandler h;
        MyAccountInfo r;
        p.ok = run(h, &r, doc, oneByte);
        p.code = h.errorCode();
        p.text = QString::number(r.LinesList.size());
    } else if (reader == QLatin1String("download")) {
        EBookReaderDownloadXmlHandler h;
        Downloadtype r;
        p.ok = run(h, &r, doc, oneByte);
        p.code = h.errorCode();
        p.text = r.link;
    }
    return p;
}

const QStringList Readers = {"library", "search",  "keywords", "bookinfo",
                             "login",   "account", "download"};

QByteArray nested(int depth)
{
    return QByteArray("<vr>") + QByteArray("<a>").repeated(depth) +
           QByteArray("</a>").repeated(depth) + QByteArray("</vr>");
}

} // namespace

class TestStoreReaders : public QObject
{
    Q_OBJECT
private slots:
    void errorAnswers_data();
    void errorAnswers();
    void hostileAnswers_data();
    void hostileAnswers();
    void textInPieces_data();
    void textInPieces();
    void mixedContentArrivesInPieces();

    void catalogueStoreFront();
    void catalogueQuirks();
    void catalogueNestedSubcats();
    void searchPage();
    void keywordList();
    void bookDetails();
    void loginAnswer();
    void accountLines();
    void downloadOrders_data();
    void downloadOrders();
};

void TestStoreReaders::errorAnswers_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("code");

    for (const QString &reader : Readers) {
        const QByteArray root = reader == "keywords" || reader == "bookinfo" ? "vb" : "vr";
        auto doc = [&root](const QByteArray &inner) {
            return "<" + root + " ret=\"error\">" + inner + "</" + root + ">";
        };
        auto row = [&reader](const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(reader + ": " + QLatin1String(name)));
        };
        row("error code only") << reader << doc("<error_code>500</error_code>") << true << 500;
        row("400 refined by five digits")
            << reader << doc("<error_code>400</error_code><error>40012 no such book</error>")
            << true << 40012;
        row("401 keeps its code") << reader
                                  << doc("<error_code>401</error_code><error>40012 no</error>")
                                  << true << 401;
        row("400 with a wordy error")
            << reader << doc("<error_code>400</error_code><error>bad</error>") << true << 0;
        row("error before any code") << reader << doc("<error>40012 x</error>") << true << 200;
        row("code not a number") << reader << doc("<error_code>x1</error_code>") << true << 0;
        row("broken after the code")
            << reader
            << QByteArray("<" + root + "><error_code>403</error_code><oops></" + root + ">")
            << false << 403;
        row("broken before any code")
            << reader << QByteArray("<" + root + "><oops></" + root + "><error_code>1") << false
            << 200;
    }
}

void TestStoreReaders::errorAnswers()
{
    QFETCH(QString, reader);
    QFETCH(QByteArray, doc);
    QFETCH(bool, ok);
    QFETCH(int, code);
    const Parsed p = parse(reader, doc);
    QCOMPARE(p.ok, ok);
    QCOMPARE(p.code, code);
}

void TestStoreReaders::hostileAnswers_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<bool>("ok");

    const QByteArray bomb = "<?xml version=\"1.0\"?><!DOCTYPE vr [<!ENTITY a \"aaaaaaaaaa\">"
                            "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                            "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                            "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                            "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]>"
                            "<vr><uid>&e;</uid></vr>";
    const QByteArray hugeAttribute =
        "<vr ret=\"" + QByteArray(4 * 1024 * 1024, 'r') + "\"><item type=\"piclist\"/></vr>";
    const QByteArray external = "<?xml version=\"1.0\"?><!DOCTYPE vr [<!ENTITY x SYSTEM "
                                "\"file:///etc/passwd\">]><vr><uid>&x;</uid></vr>";
    for (const QString &reader : Readers) {
        auto row = [&reader](const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(reader + ": " + QLatin1String(name)));
        };
        row("deep nesting") << reader << nested(100000) << true;
        row("huge attribute") << reader << hugeAttribute << true;
        row("wrong root") << reader << QByteArray("<html><body>502 Bad Gateway</body></html>")
                          << true;
        row("empty") << reader << QByteArray() << false;
        row("binary") << reader << QByteArray("\x00\xff\xfe<\x01vr>", 8) << false;
        row("truncated") << reader << QByteArray("<vr ret=\"download\"><link>http://x") << false;
        row("two roots") << reader << QByteArray("<vr/><vr/>") << false;
        row("entity expansion") << reader << bomb << false;
        // Never resolved: the reference stays empty and nothing is read.
        row("external entity") << reader << external << true;
        row("unclosed pending items")
            << reader
            << QByteArray("<vr><catlist><subcat id=\"1\"><item type=\"booklist\" id=\"2\">"
                          "<item type=\"sms\" id=\"3\"><line name=\"a\"/>")
            << false;
    }
}

void TestStoreReaders::hostileAnswers()
{
    QFETCH(QString, reader);
    QFETCH(QByteArray, doc);
    QFETCH(bool, ok);
    const Parsed p = parse(reader, doc);
    QCOMPARE(p.ok, ok);
    QVERIFY(!p.text.contains(QLatin1String("root:")));
}

void TestStoreReaders::textInPieces_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<QString>("text");

    QTest::newRow("library description")
        << "library"
        << QByteArray("<vr><subcat id=\"s\" name=\"n\"><item type=\"booklist\" id=\"1\" "
                      "name=\"b\">A tale <![CDATA[of <two>]]> cit&amp;ies<!-- ad --> by "
                      "Dickens</item></subcat></vr>")
        << "A tale of <two> cit&ies by Dickens";
    QTest::newRow("search tips")
        << "search"
        << QByteArray("<vr totalpage=\"1\"><tips>Found <![CDATA[12]]> books &#x4E66;</tips></vr>")
        << QStringLiteral("Found 12 books 书");
    QTest::newRow("keyword")
        << "keywords"
        << QByteArray("<vb><keys count=\"2\"><key>三国<![CDATA[演义]]></key><key>x&lt;y</key>"
                      "</keys></vb>")
        << QStringLiteral("三国演义|x<y");
    QTest::newRow("book description")
        << "bookinfo"
        << QByteArray("<vb title=\"t\"><description>Line one\nline <![CDATA[two]]> &quot;three"
                      "&quot;</description></vb>")
        << "Line one\nline two \"three\"";
    QTest::newRow("login uid") << "login"
                               << QByteArray(
                                      "<vr ret=\"0\"><uid>12<!-- x -->34<![CDATA[56]]></uid></vr>")
                               << "123456";
    QTest::newRow("download link")
        << "download"
        << QByteArray("<vr ret=\"download\"><link>http://h/get?a=1&amp;amp;cid=<![CDATA[b5]]>"
                      "</link><size>10</size></vr>")
        << "http://h/get?a=1&cid=b5";
}

void TestStoreReaders::textInPieces()
{
    QFETCH(QString, reader);
    QFETCH(QByteArray, doc);
    QFETCH(QString, text);

    const Parsed whole = parse(reader, doc);
    QVERIFY(whole.ok);
    QCOMPARE(whole.text, text);
    const Parsed trickled = parse(reader, doc, true);
    QVERIFY(trickled.ok);
    QCOMPARE(trickled.text, text);
}

void TestStoreReaders::mixedContentArrivesInPieces()
{
    // The split-text cases above only prove something if the parser really
    // hands such text over in several pieces.
    const QByteArray doc = "<vr><uid>12<!-- x -->34<![CDATA[56]]></uid></vr>";
    PieceCounter counter;
    XmlSaxReader reader;
    reader.setContentHandler(&counter);
    QVERIFY(reader.parse(doc));
    QVERIFY(counter.pieces >= 3);
}

void TestStoreReaders::catalogueStoreFront()
{
    const QByteArray doc = R"(<?xml version="1.0" encoding="UTF-8"?>
<vr ret="0">
  <uid>u9</uid>
  <catlist>
    <item id="c1" name="推荐" focus="true"/>
    <item id="c2" name="Fiction" focus="false"/>
  </catlist>
  <cat id="c1"/>
  <recommend>
    <item id="b1" name="Dream of the Red Chamber"/>
  </recommend>
  <subcat id="s1" name="New">
    <item type="piclist" id="b2" name="Pic" author="Cao">ignored text</item>
    <item type="booklist" id="b3" name="List" author="not read">A long description</item>
    <item type="wap" id="h1" href="http://w/">Visit</item>
    <item type="sms" id="h2" href="10086" smsrept="r" smscallback="cb">Text us</item>
    <item type="video" id="x"/>
  </subcat>
  <subcat id="s2" name="Top"/>
</vr>)";
    EBookLibraryXmlHandler handler;
    EBookReaderLibrary page;
    QVERIFY(handler.readFile(doc, &page));
    QCOMPARE(handler.errorCode(), 200);
    QCOMPARE(page.ret, "0");
    QCOMPARE(page.currentId, "c1");
    QCOMPARE(page.catList.size(), 2);
    QCOMPARE(page.catList[0]->name, QStringLiteral("推荐"));
    QVERIFY(page.catList[0]->focus);
    QVERIFY(!page.catList[1]->focus);
    QCOMPARE(page.recommendList.size(), 1);
    QCOMPARE(page.recommendList[0]->id, "b1");
    QCOMPARE(page.subcatList.size(), 2);
    const Subcat *s1 = page.subcatList[0];
    QCOMPARE(s1->subCatName, "New");
    QCOMPARE(s1->BookItemList.size(), 2);
    QCOMPARE(s1->BookItemList[0]->author, "Cao");
    QCOMPARE(s1->BookItemList[0]->description, "");
    QCOMPARE(s1->BookItemList[1]->author, "");
    QCOMPARE(s1->BookItemList[1]->description, "A long description");
    QCOMPARE(s1->HrefItemList.size(), 2);
    QCOMPARE(s1->HrefItemList[0]->href, "http://w/");
    QCOMPARE(s1->HrefItemList[0]->smsrept, "");
    QCOMPARE(s1->HrefItemList[1]->smscallback, "cb");
    QCOMPARE(s1->HrefItemList[1]->description, "Text us");
    QCOMPARE(page.subcatList[1]->subId, "s2");
}

void TestStoreReaders::catalogueQuirks()
{
    const QByteArray doc = "<vr><catlist><item id=\"c1\" focus=\"TRUE\"/><item/></catlist>"
                           "<item id=\"stray\" type=\"piclist\"/>"
                           "<recommend><catlist><item id=\"both\"/></catlist></recommend></vr>";
    EBookLibraryXmlHandler handler;
    EBookReaderLibrary page;
    QVERIFY(handler.readFile(doc, &page));
    QCOMPARE(page.catList.size(), 3);
    QVERIFY(!page.catList[0]->focus);
    QCOMPARE(page.catList[1]->id, "");
    // Nesting is not enforced: an item inside both lists counts for both.
    QCOMPARE(page.catList[2]->id, "both");
    QCOMPARE(page.recommendList.size(), 1);
    QVERIFY(page.subcatList.isEmpty());
}

void TestStoreReaders::catalogueNestedSubcats()
{
    // A sub-category inside another must not be filed twice.
    const QByteArray doc = "<vr><subcat id=\"outer\"><item type=\"piclist\" id=\"1\"/>"
                           "<subcat id=\"inner\"><item type=\"piclist\" id=\"2\"/></subcat>"
                           "<item type=\"piclist\" id=\"3\"/></subcat></vr>";
    EBookLibraryXmlHandler handler;
    EBookReaderLibrary page;
    QVERIFY(handler.readFile(doc, &page));
    QCOMPARE(page.subcatList.size(), 1);
    QCOMPARE(page.subcatList[0]->subId, "inner");
    QCOMPARE(page.subcatList[0]->BookItemList.size(), 1);
}

void TestStoreReaders::searchPage()
{
    const QByteArray doc = R"(<vr ret="0" totalpage="3" pageidx="2">
  <msgs>ok</msgs><tips>About 30 results</tips>
  <item type="piclist" id="b1" name="P" author="A1">not used</item>
  <item type="booklist" id="b2" name="L" author="not used">Summary</item>
  <item type="ad" id="b3"/>
</vr>)";
    EbookReaderSearchXmlHandler handler;
    EBookReaderSearchResult page;
    QVERIFY(handler.readFile(doc, &page));
    QCOMPARE(page.totalpage, 3);
    QCOMPARE(page.pageidx, 2);
    QCOMPARE(page.totalItem, 0);
    QCOMPARE(page.msgs, "ok");
    QCOMPARE(page.tips, "About 30 results");
    QCOMPARE(page.bookList.size(), 2);
    QCOMPARE(page.bookList[0]->author, "A1");
    QCOMPARE(page.bookList[0]->description, "");
    QCOMPARE(page.bookList[1]->author, "");
    QCOMPARE(page.bookList[1]->description, "Summary");
}

void TestStoreReaders::keywordList()
{
    const QByteArray doc = "<vb ret=\"0\"><keys count=\"9\"><key>a</key><key/><key>a</key></keys>"
                           "<key>outside</key></vb>";
    EBookReaderSearchPushKeyXmlHandler handler;
    SearchPushKeyword keys;
    QVERIFY(handler.readFile(doc, &keys));
    QCOMPARE(keys.count, 9);
    QCOMPARE(keys.keywordList, QStringList({"a", "", "a", "outside"}));
}

void TestStoreReaders::bookDetails()
{
    const QByteArray doc = R"(<vb title="Journey">
  <id>b7</id><author>Wu</author><publisher>P</publisher>
  <description>first</description><description>second</description>
  <size>1.2M</size><display_lines>20</display_lines>
</vb>)";
    BookInfoXmlHandler handler;
    BookInfoItem book;
    QVERIFY(handler.readFile(doc, &book));
    QCOMPARE(book.bookName, "Journey");
    QCOMPARE(book.id, "b7");
    QCOMPARE(book.author, "Wu");
    QCOMPARE(book.description, "second");
    QCOMPARE(book.size, "1.2M");
    QCOMPARE(book.displayLines, "20");
    QCOMPARE(book.status, "");
}

void TestStoreReaders::loginAnswer()
{
    EbookReaderUsrLogXmlHandler handler;
    UserLoginInfo login;
    QVERIFY(handler.readFile("<vr ret=\"0\"><uid></uid><prefix>http://p/</prefix></vr>", &login));
    QCOMPARE(login.ret, "0");
    QCOMPARE(login.usrId, "");
    QCOMPARE(login.serPrefixUrl, "http://p/");
}

void TestStoreReaders::accountLines()
{
    const QByteArray doc = "<vr ret=\"0\"><line name=\"Balance\" value=\"12\">ignored</line>"
                           "<line/><line name=\"Id\" value=\"u9\"/></vr>";
    EBookReaderMyAccountXmlHandler handler;
    MyAccountInfo account;
    QVERIFY(handler.readFile(doc, &account));
    QCOMPARE(account.LinesList.size(), 3);
    QCOMPARE(account.LinesList[0]->value, "12");
    QCOMPARE(account.LinesList[1]->name, "");
    QCOMPARE(account.LinesList[1]->value, "");
    QCOMPARE(account.LinesList[2]->name, "Id");
}

void TestStoreReaders::downloadOrders_data()
{
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<QStringList>("expected"); // ret, type, sid, itemId, itemUrl, title, text, link
    QTest::addColumn<qint64>("size");

    QTest::newRow("download")
        << QByteArray("<vr ret=\"download\" type=\"vbp\" sid=\"no\"><title>T</title><text>Go</text>"
                      "<content>Book</content><link>http://h/d?x=1&amp;amp;cid=b5</link>"
                      "<size>2048</size><title>after size</title></vr>")
        << QStringList{"download", "vbp", "", "", "", "T", "Go", "http://h/d?x=1&cid=b5"}
        << qint64(2048);
    QTest::newRow("download, escaped separator without semicolon")
        << QByteArray("<vr ret=\"download\"><link>http://h/d?x=1&amp;ampcid=b5&amp;amp;y=2</link>"
                      "<size>x</size></vr>")
        << QStringList{"download", "", "", "", "", "", "", "http://h/d?x=1&cid=b5&y=2"}
        << qint64(0);
    QTest::newRow("download, plain link, empty size")
        << QByteArray("<vr ret=\"download\"><link>http://h/d?cid=b5</link><size/></vr>")
        << QStringList{"download", "", "", "", "", "", "", "http://h/d?cid=b5"} << qint64(0);
    QTest::newRow("charge")
        << QByteArray("<vr ret=\"chargedef\" sid=\"s1\"><item name=\"n\" type=\"sms\" id=\"i1\" "
                      "url=\"123456106601:PAY b5\" text=\"Pay 2\"/><ok text=\"Yes\"/>"
                      "<cancel text=\"No\"/><title>ignored</title></vr>")
        << QStringList{"chargedef", "", "s1", "i1", "123456106601:PAY b5", "", "", ""} << qint64(0);
    QTest::newRow("pay") << QByteArray(
                                "<vr ret=\"pay\" sid=\"s2\"><title>Confirm</title><text>Pay?</text>"
                                "<title>late</title></vr>")
                         << QStringList{"pay", "", "s2", "", "", "Confirm", "Pay?", ""}
                         << qint64(0);
    QTest::newRow("other answer")
        << QByteArray("<vr ret=\"later\" sid=\"s3\" type=\"t\"><title>x</title></vr>")
        << QStringList{"later", "", "", "", "", "", "", ""} << qint64(0);
}

void TestStoreReaders::downloadOrders()
{
    QFETCH(QByteArray, doc);
    QFETCH(QStringList, expected);
    QFETCH(qint64, size);

    EBookReaderDownloadXmlHandler handler;
    Downloadtype order;
    QVERIFY(handler.readFile(doc, &order));
    const QStringList got{order.ret,     order.type,  order.sid,  order.itemId,
                          order.itemUrl, order.title, order.text, order.link};
    QCOMPARE(got, expected);
    QCOMPARE(order.size, size);
}

QTEST_GUILESS_MAIN(TestStoreReaders)
#include "tst_storereaders.moc"
