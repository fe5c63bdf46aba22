// The store server as clients meet it: the real program on a loopback port
// over a folder of small packed books, asked with a real HTTP client.

#include "storeclient.h"
#include "storeserverprocess.h"
#include "testbooks.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>
#include <csignal>

namespace {
const QString HostileTitle = "Tom & \"Jerry\" <b>'s</b> ]]> &amp; end";
const QString HostileAuthor = "O'Brien & <Sons>";
const QString HostileDescription = "a < b && c > \"d\"";
constexpr int BookCount = 19;
// What the client sends along with every request.
const QString Client = "imei=351234&lan=zh&chan=2014&ver=qt.2.0.0&ua=Box";

// The client's way of forming a query: every value percent-encoded in UTF-8.
QString query(const QList<QPair<QString, QString>> &pairs)
{
    QStringList parts;
    for (const auto &pair : pairs)
        parts.append(pair.first + '=' + QString::fromLatin1(QUrl::toPercentEncoding(pair.second)));
    return parts.join('&');
}
} // namespace

class TestZarvoStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_books = m_dir.filePath("books");
        QVERIFY(QDir().mkpath(m_books));
        makeBooks();
        m_server.setDataRoot(m_dir.filePath("root"));
        m_server.setLogFile(m_dir.filePath("server.log"));
        const QString started =
            m_server.start(m_books, {"--price", "paysms=sms", "--price", "payacct=pay"});
        QVERIFY2(started.isEmpty(), qPrintable(started));
        m_port = m_server.port();
        m_client.setPort(m_port);
    }

    // An interrupt stops the server cleanly, with every request logged.
    void cleanupTestCase()
    {
        QCOMPARE(m_client.get("/vorelreader/bookinfo.action?bookid=moon&uid=logcheck").status, 200);
        ::kill(pid_t(m_server.process().processId()), SIGINT);
        QTRY_VERIFY_WITH_TIMEOUT(m_server.process().state() == QProcess::NotRunning, 30000);
        QCOMPARE(m_server.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_server.process().exitCode(), 0);
        QFile log(m_dir.filePath("server.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(log.readAll());
        QVERIFY(text.contains(QRegularExpression(
            "^GET /vorelreader/bookinfo\\.action\\?bookid=moon&uid=logcheck 200 \\d+$",
            QRegularExpression::MultilineOption)));
        QVERIFY(text.contains("left out broken.vbp"));
        QVERIFY(text.contains("zarvostore: stopped"));
    }

    // Every request kind answers its document; bad requests answer an error
    // document with error_code 400 and a detail code.
    void answers_data()
    {
        QTest::addColumn<QString>("target"); // CLIENT stands for the client's values
        // status, then root element, ret and a child that must be there; or an
        // error's detail code
        QTest::addColumn<QString>("answer");
        const char *const rows[][3] = {
            {"store front", "library.action?uid=u1&cat=novel&CLIENT", "200 vr ok catlist"},
            {"category page", "library.action?cat=vip&CLIENT&uid=u1", "200 vr ok subcat"},
            {"book details", "bookinfo.action?uid=u1&CLIENT&bookid=moon", "200 vb ok chapters"},
            {"search", "search.action?uid=u1&keyword=moon&pageidx=1&CLIENT", "200 vr ok item"},
            {"hot", "search.action?CLIENT&catid=hot&pageidx=1&numperpage=12", "200 vr ok item"},
            {"keywords", "keywords.action?CLIENT&uid=u1", "200 vb ok keys"},
            {"account", "myaccountinfo.action?uid=u1&CLIENT", "200 vr ok line"},
            {"login ending in &", "userlogin.action?CLIENT&abver=2.0.0&", "200 vr ok uid"},
            {"free book order", "download.action?uid=u1&cid=moon&CLIENT", "200 vr download link"},
            {"sms book order", "download.action?uid=u1&cid=paysms&CLIENT", "200 vr chargedef item"},
            {"account book order", "download.action?uid=u1&cid=payacct&CLIENT", "200 vr pay text"},
            {"no optional values at all", "library.action?", "200 vr ok catlist"},
            {"unknown book", "bookinfo.action?bookid=nosuch", "200 40401"},
            {"broken package left out", "bookinfo.action?bookid=broken", "200 40401"},
            {"unknown category", "library.action?cat=nosuch", "200 40402"},
            {"search without keyword", "search.action?uid=u1", "200 40001"},
            {"page zero", "search.action?catid=hot&pageidx=0", "200 40002"},
            {"unknown download", "download.action?uid=u1&cid=nosuch", "200 40401"},
            {"unknown order", "download.action?sid=S999999&uid=u1&cid=paysms", "200 40403"},
            {"malformed uid", "library.action?uid=a%3Cb", "200 40002"},
            {"unknown action", "nosuch.action?uid=u1", "404 40404"},
            {"outside the store", "/elsewhere", "404 40404"},
            {"unknown cover", "cover.action?id=nosuch&size=44_63", "404 40401"},
            {"unknown cover size", "cover.action?id=moon&size=1_1", "400 40002"},
            {"package escaping its folder", "package.action?cid=..%2Fbooks%2Fmoon", "404 40401"},
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
    }

    void answers()
    {
        QFETCH(QString, target);
        QFETCH(QString, answer);
        target.replace("CLIENT", Client);
        const HttpResult result =
            m_client.get(target.startsWith('/') ? target : "/vorelreader/" + target);
        QStringList expected = answer.split(' ');
        QCOMPARE(result.status, expected.takeFirst().toInt());
        const auto doc = XmlNode::parse(result.body);
        QVERIFY2(doc, result.body.constData());
        if (expected.size() == 1) {
            QCOMPARE(doc->childText("error_code"), "400");
            QVERIFY2(doc->childText("error").startsWith(expected[0] + ' '),
                     result.body.constData());
            return;
        }
        QVERIFY(result.body.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
        QCOMPARE(doc->name, expected[0]);
        QCOMPARE(doc->attr("ret"), expected[1]);
        QVERIFY2(doc->child(expected[2]), result.body.constData());
    }

    void storeFront()
    {
        const auto doc = m_client.document("/vorelreader/library.action?uid=u7&cat=novel");
        QCOMPARE(doc->childText("uid"), "u7");
        QCOMPARE(doc->child("cat")->attr("id"), "novel");
        const auto cats = doc->child("catlist")->all("item");
        QCOMPARE(cats.size(), 3);
        QCOMPARE(
            int(std::count_if(cats.begin(), cats.end(),
                              [](const XmlNode *cat) { return cat->attr("focus") == "true"; })),
            1);
        const auto recommended = doc->child("recommend")->all("item");
        QCOMPARE(recommended.size(), 4);
        QCOMPARE(recommended.first()->attr("name"), "Plain Book 1");
        const auto subcats = doc->all("subcat");
        QCOMPARE(subcats.size(), 2);
        const auto rows = subcats.first()->all("item");
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows.at(0)->attr("type") + ' ' + rows.at(0)->attr("author"), "piclist Ann Author");
        QCOMPARE(rows.at(2)->attr("type") + ' ' + rows.at(2)->text, "booklist A short book.");
        // The last sub-category ends with a link entry.
        const XmlNode *link = subcats.last()->all("item").last();
        QCOMPARE(link->attr("type"), "wap");
        QVERIFY(link->attr("href").startsWith(m_client.url("/vorelreader/")));
    }

    void paging_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("firstId");
        QTest::newRow("first page full") << "catid=hot" << 1 << 12 << 12 << BookCount << 2 << "b01";
        QTest::newRow("last page partial")
            << "catid=hot" << 2 << 12 << 7 << BookCount << 2 << "b13";
        QTest::newRow("page past the end") << "catid=hot" << 3 << 12 << 0 << BookCount << 2 << "";
        QTest::newRow("five per page") << "catid=hot" << 4 << 5 << 4 << BookCount << 4 << "nocover";
        QTest::newRow("free list") << "catid=free" << 2 << 12 << 5 << 17 << 2 << "b13";
        QTest::newRow("premium list") << "catid=vip" << 1 << 12 << 2 << 2 << 1 << "payacct";
        QTest::newRow("search") << "keyword=plain%20book" << 2 << 12 << 1 << 13 << 2 << "b13";
    }

    void paging()
    {
        QFETCH(QString, selector);
        QFETCH(int, page);
        QFETCH(int, perPage);
        QFETCH(int, items);
        QFETCH(int, total);
        QFETCH(int, pages);
        QFETCH(QString, firstId);
        const auto doc = m_client.document(QString("/vorelreader/search.action?uid=u1&%1&pageidx=%2"
                                                   "&numperpage=%3")
                                               .arg(selector)
                                               .arg(page)
                                               .arg(perPage));
        QCOMPARE(doc->attr("totalitem").toInt(), total);
        QCOMPARE(doc->attr("totalpage").toInt(), pages);
        QCOMPARE(doc->attr("pageidx").toInt(), page);
        const auto rows = doc->all("item");
        QCOMPARE(rows.size(), items);
        if (!firstId.isEmpty())
            QCOMPARE(rows.first()->attr("id"), firstId);
    }

    void searchByKeyword_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("title, other case") << "MOON garden" << QStringList{"moon"};
        QTest::newRow("author") << "gardner" << QStringList{"moon"};
        QTest::newRow("cjk title") << "月亮" << QStringList{"yueliang"};
        QTest::newRow("cjk author") << "毛姆" << QStringList{"yueliang"};
        QTest::newRow("quote and ampersand") << "& \"Jerry\"" << QStringList{"hostile"};
        QTest::newRow("title and author both") << "account" << QStringList{"payacct"};
        QTest::newRow("nothing") << "zzz" << QStringList{};
    }

    void searchByKeyword()
    {
        QFETCH(QString, keyword);
        QFETCH(QStringList, ids);
        const auto doc =
            m_client.document("/vorelreader/search.action?" +
                              query({{"uid", "u1"}, {"keyword", keyword}, {"pageidx", "1"}}));
        QStringList found;
        for (const XmlNode *item : doc->all("item"))
            found << item->attr("id");
        QCOMPARE(found, ids);
        QCOMPARE(doc->attr("totalitem").toInt(), ids.size());
        QVERIFY(doc->childText("tips").contains(keyword));
    }

    void keywords()
    {
        const auto doc = m_client.document("/vorelreader/keywords.action?uid=u1");
        const XmlNode *list = doc->child("keys");
        QVERIFY(list);
        const auto words = list->all("key");
        QCOMPARE(list->attr("count").toInt(), words.size());
        QVERIFY(words.size() >= 5);
        QCOMPARE(words.first()->text, "Ann Author");
    }

    void userIdAllocation_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("allocates");
        QTest::newRow("store front, openflag") << "library.action?imei=1&openflag=true" << true;
        QTest::newRow("account, openflag") << "myaccountinfo.action?imei=1&openflag=true" << true;
        QTest::newRow("login without uid") << "userlogin.action?imei=1&abver=2.0.0&" << true;
        QTest::newRow("store front, no openflag") << "library.action?imei=1" << false;
        QTest::newRow("openflag false") << "keywords.action?imei=1&openflag=false" << false;
    }

    void userIdAllocation()
    {
        QFETCH(QString, target);
        QFETCH(bool, allocates);
        // Clients take the id from between the raw markers.
        const QRegularExpression marker("<uid>([^<]*)</uid>");
        const HttpResult first = m_client.get("/vorelreader/" + target);
        const QRegularExpressionMatch match = marker.match(QString::fromUtf8(first.body));
        QVERIFY2(first.status == 200 && match.hasMatch(), first.body.constData());
        const QString id = match.captured(1);
        if (!allocates) {
            QVERIFY(id.isEmpty());
            return;
        }
        QVERIFY(!id.isEmpty());
        // A known id is echoed, not replaced, even with openflag.
        const QString action = target.section('?', 0, 0);
        QCOMPARE(m_client.document("/vorelreader/" + action + "?openflag=true&uid=" + id)
                     ->childText("uid"),
                 id);
    }

    void covers_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("large") << "moon" << QSize(82, 118);
        QTest::newRow("small") << "moon" << QSize(44, 63);
        QTest::newRow("no pictures in package") << "nocover" << QSize(82, 118);
    }

    void covers()
    {
        QFETCH(QString, id);
        QFETCH(QSize, pixels);
        const QString size = QString("%1_%2").arg(pixels.width()).arg(pixels.height());
        const HttpResult result =
            m_client.get("/vorelreader/cover.action?" +
                         query({{"id", id}, {"resolution", "480_800"}, {"size", size}}));
        QCOMPARE(result.status, 200);
        QCOMPARE(result.header("Content-Type"), QByteArray("image/png"));
        QVERIFY(result.body.startsWith("\x89PNG"));
        QCOMPARE(QImage::fromData(result.body, "PNG").size(), pixels);
    }

    void packageRanges_data()
    {
        QTest::addColumn<QString>("range"); // %1: the last byte, %2: the package size
        // ETAG and DATE: the package's validators; CHANGED: its tag before its
        // modification time moved
        QTest::addColumn<QString>("ifRange");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("from"); // -1: the last byte
        const struct
        {
            const char *tag, *range, *ifRange;
            int status;
            qint64 from;
        } rows[] = {
            {"no range", "", "", 200, 0},
            {"from zero", "bytes=0-", "", 206, 0},
            {"resume", "bytes=100-", "", 206, 100},
            {"last byte", "bytes=%1-", "", 206, -1},
            {"at the end", "bytes=%2-", "", 416, 0},
            {"past the end", "bytes=99999999-", "", 416, 0},
            {"several ranges send all", "bytes=0-1,5-9", "", 200, 0},
            {"same tag resumes", "bytes=100-", "ETAG", 206, 100},
            {"same date resumes", "bytes=100-", "DATE", 206, 100},
            {"other tag sends all", "bytes=100-", "\"0-0\"", 200, 0},
            {"weak tag sends all", "bytes=100-", "W/ETAG", 200, 0},
            {"older date sends all", "bytes=100-", "Mon, 01 Jan 2001 00:00:00 GMT", 200, 0},
            {"unreadable date sends all", "bytes=100-", "soon", 200, 0},
            {"changed package sends all", "bytes=100-", "CHANGED", 200, 0},
        };
        for (const auto &row : rows)
            QTest::newRow(row.tag)
                << QString(row.range) << QString(row.ifRange) << row.status << row.from;
    }

    void packageRanges()
    {
        QFETCH(QString, range);
        QFETCH(QString, ifRange);
        QFETCH(int, status);
        QFETCH(qint64, from);
        const auto order = m_client.document("/vorelreader/download.action?uid=u1&cid=moon");
        const QString link = order->childText("link");
        QCOMPARE(QUrlQuery(QUrl(link)).queryItemValue("cid"), "moon");
        const QString path = m_books + "/moon.vbp";
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray package = file.readAll();
        const qint64 size = package.size();
        QCOMPARE(order->childText("size").toLongLong(), size);
        from = from < 0 ? size - 1 : from;
        range.replace("%1", QString::number(size - 1)).replace("%2", QString::number(size));

        // A strong tag that stays while the package does.
        const QString target = link.mid(m_client.url("").size());
        const HttpResult whole = m_client.get(target);
        const QByteArray etag = whole.header("ETag");
        QVERIFY2(etag.size() > 2 && etag.startsWith('"') && etag.endsWith('"'), etag);
        QCOMPARE(m_client.get(target).header("ETag"), etag);
        QVERIFY(!whole.header("Last-Modified").isEmpty());
        if (ifRange == "CHANGED") {
            const QDateTime modified = QFileInfo(path).lastModified();
            QVERIFY(file.setFileTime(modified.addSecs(10), QFileDevice::FileModificationTime));
            ifRange = "ETAG";
        }
        ifRange.replace("ETAG", etag).replace("DATE", whole.header("Last-Modified"));

        HttpHeaders headers;
        if (!range.isEmpty())
            headers.append({"Range", range.toLatin1()});
        if (!ifRange.isEmpty())
            headers.append({"If-Range", ifRange.toLatin1()});
        const HttpResult result = m_client.get(target, headers);
        QCOMPARE(result.status, status);
        if (status == 416) {
            QCOMPARE(result.header("Content-Range"), "bytes */" + QByteArray::number(size));
            return;
        }
        QCOMPARE(result.body, package.mid(from));
        const QString expectedRange =
            status == 206 ? QString("bytes %1-%2/%3").arg(from).arg(size - 1).arg(size) : "";
        QCOMPARE(result.header("Content-Range"), expectedRange.toLatin1());
    }

    // Buying by message as the client does it: the number runs from
    // position 6 to the first ":" at or after position 4, the body follows.
    void smsChargeFlow()
    {
        const auto charge = m_client.order("buyer", "paysms");
        const XmlNode *item = charge->child("item");
        QVERIFY(charge->attr("ret") == "chargedef" && item);
        const QString smsUrl = item->attr("url");
        const qsizetype colon = smsUrl.indexOf(':', 4);
        QVERIFY(colon > 6);
        const QString number = smsUrl.mid(6, colon - 6);
        const QString body = smsUrl.mid(colon + 1);
        QVERIFY(QRegularExpression("^[0-9]+$").match(number).hasMatch() && !body.isEmpty());

        // Unpaid, the continuation keeps the charge.
        const QString more = "&sid=" + charge->attr("sid") + "&pid=" + item->attr("id");
        QCOMPARE(m_client.order("buyer", "paysms", more)->attr("ret"), "chargedef");
        QCOMPARE(m_client.sms(query({{"number", "12345"}, {"body", body}}).toUtf8()), "none");
        QCOMPARE(m_client.sms(query({{"number", number}, {"body", body}}).toUtf8()), "paid");
        const auto paid = m_client.order("buyer", "paysms", more);
        QCOMPARE(paid->childText("content"), "Paid By Message");
        const HttpResult package =
            m_client.get(paid->childText("link").mid(m_client.url("").size()));
        QCOMPARE(package.body.size(), QFileInfo(m_books + "/paysms.vbp").size());
        // Paying twice, even as JSON, is reported, not charged again.
        const QJsonObject json{{"number", number}, {"body", body}};
        QCOMPARE(m_client.sms(QJsonDocument(json).toJson(), "application/json"), "already paid");
    }

    void hostileTitleRoundTrips()
    {
        const HttpResult details = m_client.get("/vorelreader/bookinfo.action?bookid=hostile");
        QVERIFY(!details.body.contains("<b>"));
        const auto info = XmlNode::parse(details.body);
        QVERIFY(info);
        const QStringList hostile{HostileTitle, HostileAuthor, HostileDescription};
        QCOMPARE(QStringList({info->attr("title"), info->childText("author"),
                              info->childText("description")}),
                 hostile);
        const auto found =
            m_client.document("/vorelreader/search.action?" + query({{"keyword", "Jerry"}}));
        const XmlNode *row = found->child("item");
        QVERIFY(row);
        QCOMPARE(QStringList({row->attr("name"), row->attr("author"), row->text}), hostile);
        QCOMPARE(
            m_client.document("/vorelreader/download.action?cid=hostile")->childText("content"),
            HostileTitle);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("help") << QStringList{"--help"} << 0;
        QTest::newRow("port not a number") << QStringList{"--port", "http"} << 2;
        QTest::newRow("unknown charge") << QStringList{"--price", "moon=gold"} << 2;
        QTest::newRow("port taken") << QStringList{"--port", "TAKEN"} << 1;
        QTest::newRow("data folder is a file") << QStringList{"--data", "FILE"} << 1;
        QTest::newRow("data folder inside a file") << QStringList{"--data", "FILE/ledger"} << 1;
        QTest::newRow("ledger is no database") << QStringList{"--data", "JUNK"} << 1;
        QTest::newRow("ledger of no known kind") << QStringList{"--ledger", "mysql://a@b/c"} << 2;
        QTest::newRow("ledger server not there")
            << QStringList{"--ledger", "postgresql://nobody@127.0.0.1:1/ledger"} << 1;
        QTest::newRow("order lifetime not a number")
            << QStringList{"--order-lifetime", "soon"} << 2;
        QTest::newRow("read timeout not a number") << QStringList{"--read-timeout", "soon"} << 2;
        QTest::newRow("idle timeout zero") << QStringList{"--idle-timeout", "0"} << 2;
        QTest::newRow("front mode without a data folder") << QStringList{"--accel-redirect"} << 2;
        QTest::newRow("public address not http")
            << QStringList{"--public-url", "ftp://store.test/"} << 2;
        QTest::newRow("public address with a query")
            << QStringList{"--public-url", "http://a.test/?x=1"} << 2;
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        arguments.replaceInStrings("TAKEN", QString::number(m_port));
        arguments.replaceInStrings("FILE", m_books + "/moon.vbp");
        const QString junk = m_dir.filePath("junk");
        QVERIFY(QDir().mkpath(junk));
        QFile ledger(junk + "/ledger.db");
        QVERIFY(ledger.open(QIODevice::WriteOnly));
        ledger.write(QByteArray(4096, 'x'));
        ledger.close();
        arguments.replaceInStrings("JUNK", junk);
        QProcess process;
        process.start(StoreServerProcess::program(), arguments + QStringList{"--books", m_books});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        if (exitCode != 0)
            QVERIFY(process.readAllStandardError().contains("zarvostore:"));
    }

private:
    void packBook(const QString &id, const QString &title, const QString &author,
                  const QString &description = "A short book.")
    {
        QString error;
        QVERIFY2(
            TestBooks::pack(m_books + '/' + id + ".vbp", id, title, author, description, &error),
            qPrintable(error));
    }

    void makeBooks()
    {
        for (int i = 1; i <= 13; ++i)
            packBook(QString("b%1").arg(i, 2, 10, QChar('0')), QString("Plain Book %1").arg(i),
                     "Ann Author");
        packBook("moon", "The Moon Garden", "Lee Gardner");
        packBook("yueliang", "月亮和六便士", "毛姆");
        packBook("hostile", HostileTitle, HostileAuthor, HostileDescription);
        packBook("paysms", "Paid By Message", "Sam Sender");
        packBook("payacct", "Paid From Account", "Ada Account");
        // A package without any cover picture, and a file that is no package.
        QVERIFY(TestBooks::writeBare(m_books + "/nocover.vbp", "nocover", "Bare Book"));
        QFile broken(m_books + "/broken.vbp");
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("VBP0 this is not a package at all");
    }

    QTemporaryDir m_dir;
    QString m_books;
    StoreServerProcess m_server;
    int m_port = 0;
    StoreClient m_client;
};

QTEST_MAIN(TestZarvoStore)
#include "tst_zarvostore.moc"
