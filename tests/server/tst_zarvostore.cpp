// The store server as clients meet it: the real program on a loopback port
// over a folder of small packed books, asked with a real HTTP client.

#include "bookpacker.h"
#include "storeserverprocess.h"
#include "vbpwriter.h"
#include "xmltree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>
#include <csignal>

namespace {
const QString HostileTitle = QStringLiteral("Tom & \"Jerry\" <b>'s</b> ]]> &amp; end");
const QString HostileAuthor = QStringLiteral("O'Brien & <Sons>");
const QString HostileDescription = QStringLiteral("a < b && c > \"d\"");
constexpr int BookCount = 19;

struct HttpResult
{
    int status = 0;
    QByteArray body;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray contentRange;
    QByteArray contentType;
};

// The client's way of forming a query: every value percent-encoded in UTF-8.
QString query(const QList<QPair<QString, QString>> &pairs)
{
    QStringList parts;
    for (const auto &pair : pairs)
        parts.append(pair.first + QLatin1Char('=') +
                     QString::fromLatin1(QUrl::toPercentEncoding(pair.second)));
    return parts.join(QLatin1Char('&'));
}
} // namespace

class TestZarvoStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void everyRequestForm_data();
    void everyRequestForm();
    void storeFront();
    void categoryPage();
    void paging_data();
    void paging();
    void searchByKeyword_data();
    void searchByKeyword();
    void keywordsAndDetails();
    void userIdAllocation_data();
    void userIdAllocation();
    void covers_data();
    void covers();
    void packageRanges_data();
    void packageRanges();
    void smsChargeFlow();
    void accountPaymentFlow();
    void errors_data();
    void errors();
    void hostileTitleRoundTrips();
    void requestsAreLogged();
    void commandLine_data();
    void commandLine();
    void stopsOnInterrupt();

private:
    void makeBooks();
    void packBook(const QString &id, const QString &title, const QString &author,
                  const QString &description = QStringLiteral("A short book."));
    HttpResult get(const QString &target, const QByteArray &range = QByteArray());
    HttpResult post(const QString &target, const QByteArray &body, const QByteArray &type);
    HttpResult finish(QNetworkReply *reply);
    std::shared_ptr<XmlNode> document(const QString &target, int *status = nullptr);
    QString url(const QString &target) const;

    QTemporaryDir m_dir;
    QString m_books;
    StoreServerProcess m_server;
    int m_port = 0;
    QNetworkAccessManager m_net;
};

void TestZarvoStore::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_books = m_dir.filePath(QStringLiteral("books"));
    QVERIFY(QDir().mkpath(m_books));
    makeBooks();

    m_server.setDataRoot(m_dir.filePath(QStringLiteral("root")));
    m_server.setLogFile(m_dir.filePath(QStringLiteral("server.log")));
    const QString started =
        m_server.start(m_books, {QStringLiteral("--price"), QStringLiteral("paysms=sms"),
                                 QStringLiteral("--price"), QStringLiteral("payacct=pay")});
    QVERIFY2(started.isEmpty(), qPrintable(started));
    m_port = m_server.port();
    QVERIFY(m_port > 0);
}

void TestZarvoStore::cleanupTestCase()
{
    if (m_server.process().state() == QProcess::NotRunning)
        return;
    QVERIFY(m_server.stop());
    QCOMPARE(m_server.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_server.process().exitCode(), 0);
}

void TestZarvoStore::packBook(const QString &id, const QString &title, const QString &author,
                              const QString &description)
{
    BookSource source;
    source.id = id;
    source.title = title;
    source.author = author;
    source.publisher = QStringLiteral("Test House");
    source.description = description;
    source.chapters = {{QStringLiteral("One"), QStringLiteral("First chapter text.")},
                       {QStringLiteral("Two"), QStringLiteral("Second chapter text.")}};
    QString error;
    QVERIFY2(BookPacker(source).writeTo(m_books + QLatin1Char('/') + id + QStringLiteral(".vbp"),
                                        &error),
             qPrintable(error));
}

void TestZarvoStore::makeBooks()
{
    for (int i = 1; i <= 13; ++i)
        packBook(QStringLiteral("b%1").arg(i, 2, 10, QLatin1Char('0')),
                 QStringLiteral("Plain Book %1").arg(i), QStringLiteral("Ann Author"));
    packBook(QStringLiteral("moon"), QStringLiteral("The Moon Garden"),
             QStringLiteral("Lee Gardner"));
    packBook(QStringLiteral("yueliang"), QStringLiteral("月亮和六便士"), QStringLiteral("毛姆"));
    packBook(QStringLiteral("hostile"), HostileTitle, HostileAuthor, HostileDescription);
    packBook(QStringLiteral("paysms"), QStringLiteral("Paid By Message"),
             QStringLiteral("Sam Sender"));
    packBook(QStringLiteral("payacct"), QStringLiteral("Paid From Account"),
             QStringLiteral("Ada Account"));

    // A book package without any cover picture.
    VbpWriter bare;
    bare.addRecord("index.xml",
                   "<vb ret=\"ok\" id=\"nocover\" title=\"Bare Book\"><keys><author>Nobody</author>"
                   "</keys><description>No pictures</description><chapters total=\"1\">"
                   "<item cap=\"1\" id=\"c1\">One</item></chapters></vb>");
    QVERIFY(bare.writeTo(m_books + QStringLiteral("/nocover.vbp")));

    QFile broken(m_books + QStringLiteral("/broken.vbp"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("VBP0 this is not a package at all");
}

QString TestZarvoStore::url(const QString &target) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(target);
}

HttpResult TestZarvoStore::finish(QNetworkReply *reply)
{
    QSignalSpy done(reply, &QNetworkReply::finished);
    if (!reply->isFinished())
        done.wait(30000);
    HttpResult result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.body = reply->readAll();
    result.error = reply->error();
    result.contentRange = reply->rawHeader("Content-Range");
    result.contentType = reply->rawHeader("Content-Type");
    reply->deleteLater();
    return result;
}

HttpResult TestZarvoStore::get(const QString &target, const QByteArray &range)
{
    QNetworkRequest request{QUrl(url(target))};
    if (!range.isEmpty())
        request.setRawHeader("Range", range);
    return finish(m_net.get(request));
}

HttpResult TestZarvoStore::post(const QString &target, const QByteArray &body,
                                const QByteArray &type)
{
    QNetworkRequest request{QUrl(url(target))};
    request.setHeader(QNetworkRequest::ContentTypeHeader, type);
    return finish(m_net.post(request, body));
}

std::shared_ptr<XmlNode> TestZarvoStore::document(const QString &target, int *status)
{
    const HttpResult result = get(target);
    if (status)
        *status = result.status;
    if (!result.contentType.startsWith("text/xml"))
        return nullptr;
    return XmlNode::parse(result.body);
}

void TestZarvoStore::everyRequestForm_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("ret");
    QTest::addColumn<QString>("element");

    QTest::newRow("store front, uid known")
        << "/vorelreader/"
           "library.action?uid=u1&imei=351234&lan=zh&cat=novel&chan=2014&ver=qt.2.0.0&ua=Box"
        << "vr"
        << "ok"
        << "catlist";
    QTest::newRow("store front, openflag")
        << "/vorelreader/"
           "library.action?imei=351234&lan=zh&cat=novel&chan=2014&ver=qt.2.0.0&ua=Box&openflag=true"
        << "vr"
        << "ok"
        << "recommend";
    QTest::newRow("category page")
        << "/vorelreader/"
           "library.action?cat=vip&ua=Box&lan=zh&chan=2014&uid=u1&ver=qt.2.0.0&imei=351234"
        << "vr"
        << "ok"
        << "subcat";
    QTest::newRow("book details") << "/vorelreader/"
                                     "bookinfo.action?uid=u1&imei=351234&lan=zh&cat=novel&chan="
                                     "2014&bookid=moon&ua=Box&ver=qt.2.0.0&width=480&height=800"
                                  << "vb"
                                  << "ok"
                                  << "chapters";
    QTest::newRow("keyword search")
        << "/vorelreader/"
           "search.action?uid=u1&imei=351234&lan=zh&cat=novel&chan=2014&keyword=moon&pageidx=1&"
           "numperpage=12&ver=qt.2.0.0&ua=Box"
        << "vr"
        << "ok"
        << "item";
    QTest::newRow("recommendation list")
        << "/vorelreader/"
           "search.action?uid=u1&imei=351234&lan=zh&cat=novel&chan=2014&catid=hot&pageidx=1&"
           "numperpage=12&ver=qt.2.0.0&ua=Box"
        << "vr"
        << "ok"
        << "item";
    QTest::newRow("keywords, uid known")
        << "/vorelreader/keywords.action?imei=351234&ua=Box&lan=zh&chan=2014&uid=u1&ver=qt.2.0.0"
        << "vb"
        << "ok"
        << "keys";
    QTest::newRow("keywords, openflag")
        << "/vorelreader/"
           "keywords.action?imei=351234&ua=Box&lan=zh&chan=2014&ver=qt.2.0.0&openflag=true"
        << "vb"
        << "ok"
        << "uid";
    QTest::newRow("account, uid known")
        << "/vorelreader/"
           "myaccountinfo.action?ua=Box&lan=zh&chan=2014&uid=u1&ver=qt.2.0.0&imei=351234"
        << "vr"
        << "ok"
        << "line";
    QTest::newRow("account, openflag")
        << "/vorelreader/"
           "myaccountinfo.action?ua=Box&lan=zh&chan=2014&ver=qt.2.0.0&imei=351234&openflag=true"
        << "vr"
        << "ok"
        << "line";
    QTest::newRow("login ending in &") << "/vorelreader/"
                                          "userlogin.action?imei=351234&width=480&height=800&ver="
                                          "qt.2.0.0&lan=zh&chan=2014&ua=Box&abver=2.0.0&"
                                       << "vr"
                                       << "ok"
                                       << "uid";
    QTest::newRow("download order, free book")
        << "/vorelreader/"
           "download.action?uid=u1&imei=351234&cid=moon&width=480&height=800&ua=Box&lan=zh&chan="
           "2014&ver=qt.2.0.0"
        << "vr"
        << "download"
        << "link";
    QTest::newRow("download order, sms book")
        << "/vorelreader/"
           "download.action?uid=u1&imei=351234&cid=paysms&width=480&height=800&ua=Box&lan=zh&chan="
           "2014&ver=qt.2.0.0"
        << "vr"
        << "chargedef"
        << "item";
    QTest::newRow("download order, account book")
        << "/vorelreader/"
           "download.action?uid=u1&imei=351234&cid=payacct&width=480&height=800&ua=Box&lan=zh&chan="
           "2014&ver=qt.2.0.0"
        << "vr"
        << "pay"
        << "text";
    QTest::newRow("no optional values at all") << "/vorelreader/library.action?"
                                               << "vr"
                                               << "ok"
                                               << "catlist";
}

void TestZarvoStore::everyRequestForm()
{
    QFETCH(QString, target);
    QFETCH(QString, root);
    QFETCH(QString, ret);
    QFETCH(QString, element);
    const HttpResult result = get(target);
    QCOMPARE(result.status, 200);
    QVERIFY(result.body.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    const auto doc = XmlNode::parse(result.body);
    QVERIFY2(doc, result.body.constData());
    QCOMPARE(doc->name, root);
    QCOMPARE(doc->attr(QStringLiteral("ret")), ret);
    QVERIFY2(doc->child(element), result.body.constData());
}

void TestZarvoStore::storeFront()
{
    const auto doc = document(QStringLiteral("/vorelreader/library.action?uid=u7&cat=novel"));
    QVERIFY(doc);
    QCOMPARE(doc->childText(QStringLiteral("uid")), QStringLiteral("u7"));
    const auto cats = doc->child(QStringLiteral("catlist"))->all(QStringLiteral("item"));
    QCOMPARE(cats.size(), 3);
    int focused = 0;
    for (const XmlNode *cat : cats) {
        QVERIFY(!cat->attr(QStringLiteral("id")).isEmpty());
        QVERIFY(!cat->attr(QStringLiteral("name")).isEmpty());
        focused += cat->attr(QStringLiteral("focus")) == QLatin1String("true");
    }
    QCOMPARE(focused, 1);
    QCOMPARE(doc->child(QStringLiteral("cat"))->attr(QStringLiteral("id")),
             QStringLiteral("novel"));
    const auto recommended = doc->child(QStringLiteral("recommend"))->all(QStringLiteral("item"));
    QCOMPARE(recommended.size(), 4);
    QCOMPARE(recommended.first()->attr(QStringLiteral("id")), QStringLiteral("b01"));
    QCOMPARE(recommended.first()->attr(QStringLiteral("name")), QStringLiteral("Plain Book 1"));

    const auto subcats = doc->all(QStringLiteral("subcat"));
    QCOMPARE(subcats.size(), 2);
    const auto rows = subcats.first()->all(QStringLiteral("item"));
    QCOMPARE(rows.size(), 6);
    QCOMPARE(rows.at(0)->attr(QStringLiteral("type")), QStringLiteral("piclist"));
    QCOMPARE(rows.at(0)->attr(QStringLiteral("author")), QStringLiteral("Ann Author"));
    QCOMPARE(rows.at(2)->attr(QStringLiteral("type")), QStringLiteral("booklist"));
    QCOMPARE(rows.at(2)->text, QStringLiteral("A short book."));
    // The last sub-category ends with a link entry.
    const auto last = subcats.last()->all(QStringLiteral("item"));
    QCOMPARE(last.last()->attr(QStringLiteral("type")), QStringLiteral("wap"));
    QVERIFY(
        last.last()->attr(QStringLiteral("href")).startsWith(url(QStringLiteral("/vorelreader/"))));
}

void TestZarvoStore::categoryPage()
{
    const auto doc = document(QStringLiteral("/vorelreader/library.action?cat=vip&uid=u1"));
    QVERIFY(doc);
    QCOMPARE(doc->child(QStringLiteral("cat"))->attr(QStringLiteral("id")), QStringLiteral("vip"));
    const auto subcats = doc->all(QStringLiteral("subcat"));
    QCOMPARE(subcats.size(), 1);
    QStringList ids;
    for (const XmlNode *item : subcats.first()->all(QStringLiteral("item"))) {
        if (item->attr(QStringLiteral("type")) != QLatin1String("wap"))
            ids << item->attr(QStringLiteral("id"));
    }
    QCOMPARE(ids, QStringList({QStringLiteral("payacct"), QStringLiteral("paysms")}));
}

void TestZarvoStore::paging_data()
{
    QTest::addColumn<QString>("selector");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("perPage");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("firstId");

    QTest::newRow("first page full") << "catid=hot" << 1 << 12 << 12 << BookCount << 2 << "b01";
    QTest::newRow("last page partial") << "catid=hot" << 2 << 12 << 7 << BookCount << 2 << "b13";
    QTest::newRow("page past the end") << "catid=hot" << 3 << 12 << 0 << BookCount << 2 << "";
    QTest::newRow("five per page, last")
        << "catid=hot" << 4 << 5 << 4 << BookCount << 4 << "nocover";
    QTest::newRow("category id pages its list")
        << "catid=novel" << 1 << 12 << 12 << BookCount << 2 << "b01";
    QTest::newRow("free list") << "catid=free" << 2 << 12 << 5 << 17 << 2 << "b13";
    QTest::newRow("premium list") << "catid=vip" << 1 << 12 << 2 << 2 << 1 << "payacct";
    QTest::newRow("search, second page")
        << "keyword=plain%20book" << 2 << 12 << 1 << 13 << 2 << "b13";
    QTest::newRow("search, exactly one page")
        << "keyword=Plain%20Book%201" << 1 << 5 << 5 << 5 << 1 << "b01";
}

void TestZarvoStore::paging()
{
    QFETCH(QString, selector);
    QFETCH(int, page);
    QFETCH(int, perPage);
    QFETCH(int, items);
    QFETCH(int, total);
    QFETCH(int, pages);
    QFETCH(QString, firstId);
    const auto doc =
        document(QStringLiteral("/vorelreader/search.action?uid=u1&%1&pageidx=%2&numperpage=%3")
                     .arg(selector)
                     .arg(page)
                     .arg(perPage));
    QVERIFY(doc);
    QCOMPARE(doc->attr(QStringLiteral("totalitem")).toInt(), total);
    QCOMPARE(doc->attr(QStringLiteral("totalpage")).toInt(), pages);
    QCOMPARE(doc->attr(QStringLiteral("pageidx")).toInt(), page);
    const auto rows = doc->all(QStringLiteral("item"));
    QCOMPARE(rows.size(), items);
    if (!firstId.isEmpty())
        QCOMPARE(rows.first()->attr(QStringLiteral("id")), firstId);
}

void TestZarvoStore::searchByKeyword_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QStringList>("ids");

    QTest::newRow("title, other case") << "MOON garden" << QStringList{"moon"};
    QTest::newRow("author") << "gardner" << QStringList{"moon"};
    QTest::newRow("cjk title") << "月亮" << QStringList{"yueliang"};
    QTest::newRow("cjk author") << "毛姆" << QStringList{"yueliang"};
    QTest::newRow("space inside") << "Moon Garden" << QStringList{"moon"};
    QTest::newRow("quote and ampersand") << "& \"Jerry\"" << QStringList{"hostile"};
    QTest::newRow("title and author both") << "account" << QStringList{"payacct"};
    QTest::newRow("nothing") << "zzz" << QStringList{};
}

void TestZarvoStore::searchByKeyword()
{
    QFETCH(QString, keyword);
    QFETCH(QStringList, ids);
    const auto doc = document(
        QStringLiteral("/vorelreader/search.action?") +
        query({{"uid", "u1"}, {"keyword", keyword}, {"pageidx", "1"}, {"numperpage", "12"}}));
    QVERIFY(doc);
    QStringList found;
    for (const XmlNode *item : doc->all(QStringLiteral("item"))) {
        found << item->attr(QStringLiteral("id"));
        QVERIFY(!item->attr(QStringLiteral("author")).isEmpty());
    }
    QCOMPARE(found, ids);
    QCOMPARE(doc->attr(QStringLiteral("totalitem")).toInt(), ids.size());
    QCOMPARE(doc->attr(QStringLiteral("totalpage")).toInt(), ids.isEmpty() ? 0 : 1);
    QVERIFY(doc->childText(QStringLiteral("tips")).contains(keyword));
}

void TestZarvoStore::keywordsAndDetails()
{
    const auto keys = document(QStringLiteral("/vorelreader/keywords.action?uid=u1"));
    QVERIFY(keys);
    const XmlNode *list = keys->child(QStringLiteral("keys"));
    QVERIFY(list);
    const auto words = list->all(QStringLiteral("key"));
    QCOMPARE(list->attr(QStringLiteral("count")).toInt(), words.size());
    QVERIFY(words.size() >= 5);
    QCOMPARE(words.first()->text, QStringLiteral("Ann Author"));

    const auto details =
        document(QStringLiteral("/vorelreader/bookinfo.action?uid=u1&bookid=moon"));
    QVERIFY(details);
    QCOMPARE(details->attr(QStringLiteral("title")), QStringLiteral("The Moon Garden"));
    QCOMPARE(details->childText(QStringLiteral("id")), QStringLiteral("moon"));
    QCOMPARE(details->childText(QStringLiteral("author")), QStringLiteral("Lee Gardner"));
    QCOMPARE(details->childText(QStringLiteral("publisher")), QStringLiteral("Test House"));
    QCOMPARE(details->childText(QStringLiteral("description")), QStringLiteral("A short book."));
    QCOMPARE(details->child(QStringLiteral("chapters"))->attr(QStringLiteral("total")),
             QStringLiteral("2"));
    QCOMPARE(details->childText(QStringLiteral("size")).toLongLong(),
             QFileInfo(m_books + QStringLiteral("/moon.vbp")).size());
}

void TestZarvoStore::userIdAllocation_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("params");
    QTest::addColumn<bool>("allocates");

    QTest::newRow("store front, openflag") << "library"
                                           << "imei=1&openflag=true" << true;
    QTest::newRow("keywords, openflag") << "keywords"
                                        << "imei=1&openflag=true" << true;
    QTest::newRow("account, openflag") << "myaccountinfo"
                                       << "imei=1&openflag=true" << true;
    QTest::newRow("login without uid") << "userlogin"
                                       << "imei=1&abver=2.0.0&" << true;
    QTest::newRow("store front, no openflag") << "library"
                                              << "imei=1" << false;
    QTest::newRow("category page, no openflag") << "library"
                                                << "cat=free&imei=1" << false;
    QTest::newRow("keywords, openflag false") << "keywords"
                                              << "imei=1&openflag=false" << false;
}

void TestZarvoStore::userIdAllocation()
{
    QFETCH(QString, action);
    QFETCH(QString, params);
    QFETCH(bool, allocates);
    const QString target = QStringLiteral("/vorelreader/%1.action?%2").arg(action, params);
    const HttpResult first = get(target);
    const HttpResult second = get(target);
    QCOMPARE(first.status, 200);
    // Clients take the id from between the raw markers.
    const QRegularExpression marker(QStringLiteral("<uid>([^<]*)</uid>"));
    const QString firstId = marker.match(QString::fromUtf8(first.body)).captured(1);
    const QString secondId = marker.match(QString::fromUtf8(second.body)).captured(1);
    QVERIFY2(marker.match(QString::fromUtf8(first.body)).hasMatch(), first.body.constData());
    if (!allocates) {
        QVERIFY(firstId.isEmpty());
        return;
    }
    QVERIFY(!firstId.isEmpty());
    QVERIFY(firstId != secondId);
    QVERIFY(QRegularExpression(QStringLiteral("^[A-Za-z0-9._-]+$")).match(firstId).hasMatch());

    // A known id is echoed, not replaced, even with openflag.
    const auto echoed = document(
        QStringLiteral("/vorelreader/%1.action?uid=%2&openflag=true").arg(action, firstId));
    QVERIFY(echoed);
    QCOMPARE(echoed->childText(QStringLiteral("uid")), firstId);
}

void TestZarvoStore::covers_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QSize>("pixels");

    QTest::newRow("large") << "moon"
                           << "82_118" << QSize(82, 118);
    QTest::newRow("small") << "moon"
                           << "44_63" << QSize(44, 63);
    QTest::newRow("cjk id") << "yueliang"
                            << "44_63" << QSize(44, 63);
    QTest::newRow("no pictures in package") << "nocover"
                                            << "82_118" << QSize(82, 118);
}

void TestZarvoStore::covers()
{
    QFETCH(QString, id);
    QFETCH(QString, size);
    QFETCH(QSize, pixels);
    const HttpResult result = get(QStringLiteral("/vorelreader/cover.action?") +
                                  query({{"id", id}, {"resolution", "480_800"}, {"size", size}}));
    QCOMPARE(result.status, 200);
    QCOMPARE(result.contentType, QByteArray("image/png"));
    QVERIFY(result.body.startsWith("\x89PNG"));
    QCOMPARE(QImage::fromData(result.body, "PNG").size(), pixels);
}

void TestZarvoStore::packageRanges_data()
{
    QTest::addColumn<QString>("range"); // "%1" stands for the package size
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("from");

    QTest::newRow("no range") << "" << 200 << qint64(0);
    QTest::newRow("from zero") << "bytes=0-" << 206 << qint64(0);
    QTest::newRow("resume") << "bytes=100-" << 206 << qint64(100);
    QTest::newRow("last byte") << "bytes=%1-" << 206 << qint64(-1);
    QTest::newRow("at the end") << "bytes=%2-" << 416 << qint64(0);
    QTest::newRow("past the end") << "bytes=99999999-" << 416 << qint64(0);
    QTest::newRow("several ranges send all") << "bytes=0-1,5-9" << 200 << qint64(0);
}

void TestZarvoStore::packageRanges()
{
    QFETCH(QString, range);
    QFETCH(int, status);
    QFETCH(qint64, from);
    const auto order = document(QStringLiteral("/vorelreader/download.action?uid=u1&cid=moon"));
    QVERIFY(order);
    const QString link = order->childText(QStringLiteral("link"));
    QVERIFY(link.startsWith(url(QStringLiteral("/vorelreader/"))));
    QCOMPARE(QUrlQuery(QUrl(link)).queryItemValue(QStringLiteral("cid")), QStringLiteral("moon"));

    QFile file(m_books + QStringLiteral("/moon.vbp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray package = file.readAll();
    const qint64 size = package.size();
    QCOMPARE(order->childText(QStringLiteral("size")).toLongLong(), size);
    if (from < 0)
        from = size - 1;
    range.replace(QStringLiteral("%1"), QString::number(size - 1));
    range.replace(QStringLiteral("%2"), QString::number(size));

    const HttpResult result = get(link.mid(url(QString()).size()), range.toLatin1());
    QCOMPARE(result.status, status);
    if (status == 416) {
        QCOMPARE(result.contentRange, "bytes */" + QByteArray::number(size));
        return;
    }
    QCOMPARE(result.body, package.mid(from));
    if (status == 206)
        QCOMPARE(result.contentRange,
                 QStringLiteral("bytes %1-%2/%3").arg(from).arg(size - 1).arg(size).toLatin1());
    else
        QVERIFY(result.contentRange.isEmpty());
}

void TestZarvoStore::smsChargeFlow()
{
    const QString order =
        QStringLiteral("/vorelreader/download.action?uid=buyer&imei=1&cid=paysms");
    const auto charge = document(order);
    QVERIFY(charge);
    QCOMPARE(charge->attr(QStringLiteral("ret")), QStringLiteral("chargedef"));
    const QString sid = charge->attr(QStringLiteral("sid"));
    const XmlNode *item = charge->child(QStringLiteral("item"));
    QVERIFY(item && !sid.isEmpty());
    const QString pid = item->attr(QStringLiteral("id"));
    QVERIFY(!item->attr(QStringLiteral("text")).isEmpty());

    // The client's reading: the number runs from position 6 to the first
    // ":" at or after position 4, the body follows that colon.
    const QString smsUrl = item->attr(QStringLiteral("url"));
    const qsizetype colon = smsUrl.indexOf(QLatin1Char(':'), 4);
    QVERIFY(colon > 6);
    const QString number = smsUrl.mid(6, colon - 6);
    const QString body = smsUrl.mid(colon + 1);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9]+$")).match(number).hasMatch());
    QVERIFY(!body.isEmpty());

    // Unpaid: the continuation keeps the charge and the package stays shut.
    const QString continuation =
        QStringLiteral("/vorelreader/download.action?") +
        query({{"pid", pid}, {"sid", sid}, {"uid", "buyer"}, {"cid", "paysms"}, {"imei", "1"}});
    auto again = document(continuation);
    QVERIFY(again);
    QCOMPARE(again->attr(QStringLiteral("ret")), QStringLiteral("chargedef"));
    QCOMPARE(get(QStringLiteral("/vorelreader/package.action?cid=paysms")).status, 403);
    QCOMPARE(get(QStringLiteral("/vorelreader/package.action?cid=paysms&ticket=") + sid).status,
             403);

    // A message to some other number pays nothing.
    const HttpResult stray =
        post(QStringLiteral("/sms/send"), query({{"number", "12345"}, {"body", body}}).toUtf8(),
             "application/x-www-form-urlencoded");
    QCOMPARE(stray.status, 200);
    QCOMPARE(XmlNode::parse(stray.body)->childText(QStringLiteral("payment")),
             QStringLiteral("none"));

    const HttpResult sent =
        post(QStringLiteral("/sms/send"), query({{"number", number}, {"body", body}}).toUtf8(),
             "application/x-www-form-urlencoded");
    QCOMPARE(sent.status, 200);
    const auto receipt = XmlNode::parse(sent.body);
    QVERIFY(receipt);
    QCOMPARE(receipt->attr(QStringLiteral("ret")), QStringLiteral("sent"));
    QCOMPARE(receipt->childText(QStringLiteral("payment")), QStringLiteral("paid"));

    auto paid = document(continuation);
    QVERIFY(paid);
    QCOMPARE(paid->attr(QStringLiteral("ret")), QStringLiteral("download"));
    QCOMPARE(paid->childText(QStringLiteral("content")), QStringLiteral("Paid By Message"));
    const QString link = paid->childText(QStringLiteral("link"));
    QCOMPARE(QUrlQuery(QUrl(link)).queryItemValue(QStringLiteral("cid")), QStringLiteral("paysms"));
    const HttpResult package = get(link.mid(url(QString()).size()));
    QCOMPARE(package.status, 200);
    QCOMPARE(package.body.size(), QFileInfo(m_books + QStringLiteral("/paysms.vbp")).size());

    // The next plain order of the same user downloads; another user pays.
    auto next = document(order);
    QCOMPARE(next->attr(QStringLiteral("ret")), QStringLiteral("download"));
    auto other = document(QStringLiteral("/vorelreader/download.action?uid=other&cid=paysms"));
    QCOMPARE(other->attr(QStringLiteral("ret")), QStringLiteral("chargedef"));
    // Paying twice is reported, not charged again.
    const HttpResult twice =
        post(QStringLiteral("/sms/send"),
             QJsonDocument(QJsonObject{{"number", number}, {"body", body}}).toJson(),
             "application/json");
    QCOMPARE(XmlNode::parse(twice.body)->childText(QStringLiteral("payment")),
             QStringLiteral("already paid"));
}

void TestZarvoStore::accountPaymentFlow()
{
    const auto offer =
        document(QStringLiteral("/vorelreader/download.action?uid=reader&cid=payacct"));
    QVERIFY(offer);
    QCOMPARE(offer->attr(QStringLiteral("ret")), QStringLiteral("pay"));
    const QString sid = offer->attr(QStringLiteral("sid"));
    QVERIFY(!sid.isEmpty());
    QVERIFY(!offer->childText(QStringLiteral("text")).isEmpty());

    // Continuing with the order id and no charge id confirms the payment.
    const auto confirmed = document(
        QStringLiteral("/vorelreader/download.action?sid=%1&uid=reader&cid=payacct").arg(sid));
    QVERIFY(confirmed);
    QCOMPARE(confirmed->attr(QStringLiteral("ret")), QStringLiteral("download"));

    const auto account = document(QStringLiteral("/vorelreader/myaccountinfo.action?uid=reader"));
    QVERIFY(account);
    QHash<QString, QString> lines;
    for (const XmlNode *line : account->all(QStringLiteral("line")))
        lines.insert(line->attr(QStringLiteral("name")), line->attr(QStringLiteral("value")));
    QCOMPARE(lines.value(QStringLiteral("用户编号")), QStringLiteral("reader"));
    QCOMPARE(lines.value(QStringLiteral("账户余额")), QStringLiteral("9.00 元"));
    QCOMPARE(lines.value(QStringLiteral("已购图书")), QStringLiteral("1"));

    // Confirming again neither fails nor charges twice.
    const auto repeated = document(
        QStringLiteral("/vorelreader/download.action?sid=%1&uid=reader&cid=payacct").arg(sid));
    QCOMPARE(repeated->attr(QStringLiteral("ret")), QStringLiteral("download"));
    const auto after = document(QStringLiteral("/vorelreader/myaccountinfo.action?uid=reader"));
    QCOMPARE(after->all(QStringLiteral("line")).at(1)->attr(QStringLiteral("value")),
             QStringLiteral("9.00 元"));
}

void TestZarvoStore::errors_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("detail");

    QTest::newRow("unknown book details")
        << "/vorelreader/bookinfo.action?bookid=nosuch" << 200 << "40401";
    QTest::newRow("broken package left out")
        << "/vorelreader/bookinfo.action?bookid=broken" << 200 << "40401";
    QTest::newRow("book details without id")
        << "/vorelreader/bookinfo.action?uid=u1" << 200 << "40001";
    QTest::newRow("unknown category") << "/vorelreader/library.action?cat=nosuch" << 200 << "40402";
    QTest::newRow("unknown list") << "/vorelreader/search.action?catid=nosuch" << 200 << "40402";
    QTest::newRow("search without keyword or list")
        << "/vorelreader/search.action?uid=u1" << 200 << "40001";
    QTest::newRow("page zero") << "/vorelreader/search.action?catid=hot&pageidx=0" << 200
                               << "40002";
    QTest::newRow("page not a number")
        << "/vorelreader/search.action?catid=hot&pageidx=x" << 200 << "40002";
    QTest::newRow("unknown download")
        << "/vorelreader/download.action?uid=u1&cid=nosuch" << 200 << "40401";
    QTest::newRow("unknown order")
        << "/vorelreader/download.action?sid=S999999&uid=u1&cid=paysms" << 200 << "40403";
    QTest::newRow("order of another book")
        << "/vorelreader/download.action?sid=S000001&uid=u1&cid=moon" << 200 << "40403";
    QTest::newRow("malformed uid") << "/vorelreader/library.action?uid=a%3Cb" << 200 << "40002";
    QTest::newRow("account without uid")
        << "/vorelreader/myaccountinfo.action?imei=1" << 200 << "40001";
    QTest::newRow("unknown action") << "/vorelreader/nosuch.action?uid=u1" << 404 << "40404";
    QTest::newRow("outside the store") << "/elsewhere" << 404 << "40404";
    QTest::newRow("unknown cover")
        << "/vorelreader/cover.action?id=nosuch&size=44_63" << 404 << "40401";
    QTest::newRow("unknown cover size")
        << "/vorelreader/cover.action?id=moon&size=1_1" << 400 << "40002";
    QTest::newRow("unknown package") << "/vorelreader/package.action?cid=nosuch" << 404 << "40401";
    QTest::newRow("package escaping its folder")
        << "/vorelreader/package.action?cid=..%2Fbooks%2Fmoon" << 404 << "40401";
}

void TestZarvoStore::errors()
{
    QFETCH(QString, target);
    QFETCH(int, status);
    QFETCH(QString, detail);
    const HttpResult result = get(target);
    QCOMPARE(result.status, status);
    const auto doc = XmlNode::parse(result.body);
    QVERIFY2(doc, result.body.constData());
    QCOMPARE(doc->childText(QStringLiteral("error_code")), QStringLiteral("400"));
    QVERIFY2(doc->childText(QStringLiteral("error")).startsWith(detail + QLatin1Char(' ')),
             result.body.constData());
}

void TestZarvoStore::hostileTitleRoundTrips()
{
    const HttpResult details = get(QStringLiteral("/vorelreader/bookinfo.action?bookid=hostile"));
    QVERIFY(!details.body.contains("<b>"));
    const auto info = XmlNode::parse(details.body);
    QVERIFY(info);
    QCOMPARE(info->attr(QStringLiteral("title")), HostileTitle);
    QCOMPARE(info->childText(QStringLiteral("author")), HostileAuthor);
    QCOMPARE(info->childText(QStringLiteral("description")), HostileDescription);

    const auto found =
        document(QStringLiteral("/vorelreader/search.action?") + query({{"keyword", "Jerry"}}));
    QVERIFY(found);
    const XmlNode *row = found->child(QStringLiteral("item"));
    QVERIFY(row);
    QCOMPARE(row->attr(QStringLiteral("name")), HostileTitle);
    QCOMPARE(row->attr(QStringLiteral("author")), HostileAuthor);
    QCOMPARE(row->text, HostileDescription);

    const auto order = document(QStringLiteral("/vorelreader/download.action?cid=hostile"));
    QVERIFY(order);
    QCOMPARE(order->childText(QStringLiteral("content")), HostileTitle);
}

void TestZarvoStore::requestsAreLogged()
{
    const QString target = QStringLiteral("/vorelreader/bookinfo.action?bookid=moon&uid=logcheck");
    QCOMPARE(get(target).status, 200);
    const QRegularExpression line(
        QStringLiteral("^GET %1 200 \\d+$").arg(QRegularExpression::escape(target)),
        QRegularExpression::MultilineOption);
    auto logText = [this] {
        QFile log(m_dir.filePath(QStringLiteral("server.log")));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    };
    // The line is written once the answer has gone out.
    QTRY_VERIFY_WITH_TIMEOUT(line.match(logText()).hasMatch(), 10000);
    QVERIFY(logText().contains(QStringLiteral("left out broken.vbp")));
}

void TestZarvoStore::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("help") << QStringList{"--help"} << 0;
    QTest::newRow("port not a number") << QStringList{"--port", "http"} << 2;
    QTest::newRow("port out of range") << QStringList{"--port", "70000"} << 2;
    QTest::newRow("unknown charge") << QStringList{"--price", "moon=gold"} << 2;
    QTest::newRow("unknown option") << QStringList{"--colour"} << 2;
    QTest::newRow("port taken") << QStringList{"--port", "TAKEN"} << 1;
}

void TestZarvoStore::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    arguments.replaceInStrings(QStringLiteral("TAKEN"), QString::number(m_port));
    QProcess process;
    process.start(StoreServerProcess::program(),
                  arguments + QStringList{QStringLiteral("--books"), m_books});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    if (exitCode != 0)
        QVERIFY(process.readAllStandardError().contains("zarvostore:"));
}

void TestZarvoStore::stopsOnInterrupt()
{
    QProcess process;
    process.start(StoreServerProcess::program(),
                  {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--books"),
                   m_dir.filePath(QStringLiteral("no-such-folder"))});
    while (!process.canReadLine())
        QVERIFY(process.waitForReadyRead(30000));
    QVERIFY(process.readLine().startsWith("listening on 127.0.0.1:"));
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(process.readAllStandardError().contains("zarvostore: stopped"));
}

QTEST_MAIN(TestZarvoStore)
#include "tst_zarvostore.moc"
