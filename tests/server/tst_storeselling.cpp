// The store's selling rules as a stranger probes them, the links of its
// answers as the reader fetches them, and its ledger across a hard kill: the
// real server with a data folder, over real HTTP.

#include "commondef.h"
#include "downloadtype.h"
#include "ebookreaderdownloadxmlhandler.h"
#include "httpcommunicator.h"
#include "storeclient.h"
#include "storeserverprocess.h"
#include "testbooks.h"
#include "urlmaker.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QNetworkProxy>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>
#include <memory>

namespace {
const QString Imei = "123456789012345";
const QString Ua = "TestPhone";
// The books on offer and how they are paid for.
const QString FreeBook = "free.book";
const QString SmsBook = "sms.book";
const QString AccountBook = "acct";
const QString OtherAccountBook = "acct2";
const QString NonAsciiBook = "测试书";

// Characters two ids share at their start, or at their end.
int sharedEnds(const QString &a, const QString &b)
{
    int prefix = 0;
    while (prefix < qMin(a.size(), b.size()) && a.at(prefix) == b.at(prefix))
        ++prefix;
    int suffix = 0;
    while (suffix < qMin(a.size(), b.size()) &&
           a.at(a.size() - 1 - suffix) == b.at(b.size() - 1 - suffix))
        ++suffix;
    return qMax(prefix, suffix);
}
} // namespace

class TestStoreSelling : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QString error;
        m_books =
            TestBooks::packInto(m_dir, {FreeBook, SmsBook, AccountBook, OtherAccountBook}, &error);
        QVERIFY2(!m_books.isEmpty(), qPrintable(error));
        QVERIFY(TestBooks::writeBare(m_books + '/' + NonAsciiBook + ".vbp", NonAsciiBook, "测试"));
        m_server.setDataRoot(m_dir.filePath("root"));
        m_server.setDataFolder(m_dir.filePath("ledger"));
        const QString started = m_server.start(
            m_books, {"--price", SmsBook + "=sms", "--price", AccountBook + "=pay", "--price",
                      OtherAccountBook + "=pay", "--price", NonAsciiBook + "=pay"});
        QVERIFY2(started.isEmpty(), qPrintable(started));
        m_client.setPort(m_server.port());
        qputenv("ZARVOREADER_STORE", m_server.hostPort().toUtf8());
    }

    // User ids, order and charge ids and tickets are long random strings of
    // letters and digits that share nothing telling with each other.
    void idsDoNotFollowEachOther()
    {
        QStringList ids;
        for (int i = 0; i < 3; ++i) {
            const QString uid = m_client.newUser();
            const auto offer = m_client.order(uid, AccountBook);
            const auto charge = m_client.order(uid, SmsBook);
            const QString link = pay(uid, AccountBook, *offer);
            ids << uid << offer->attr("sid") << charge->attr("sid")
                << charge->child("item")->attr("id")
                << QUrlQuery(QUrl(link)).queryItemValue("ticket");
        }
        const QRegularExpression random("^[A-Za-z0-9]{22,64}$");
        for (int i = 0; i < ids.size(); ++i) {
            QVERIFY2(random.match(ids[i]).hasMatch(), qPrintable(ids[i]));
            for (int j = 0; j < i; ++j)
                QVERIFY2(sharedEnds(ids[i], ids[j]) < 6, qPrintable(ids[i] + ' ' + ids[j]));
        }
    }

    // What a stranger tries with what they learnt of a buyer: the buyer has
    // bought SMS_BOOK by message (PAID_SID, TICKET) and has an unpaid account
    // order (OPEN_SID).
    void strangersAreRefused_data()
    {
        QTest::addColumn<QString>("attack");
        QTest::addColumn<QString>("refusal"); // HTTP status and detail code
        const char *const rows[][3] = {
            {"stranger continues the open order",
             "download.action?uid=STRANGER&cid=ACCOUNT_BOOK&sid=OPEN_SID", "200 40403"},
            {"nobody continues the open order",
             "download.action?imei=1&cid=ACCOUNT_BOOK&sid=OPEN_SID", "200 40001"},
            {"stranger continues the paid order",
             "download.action?uid=STRANGER&cid=SMS_BOOK&sid=PAID_SID", "200 40403"},
            {"nobody orders a priced book", "download.action?imei=1&cid=ACCOUNT_BOOK", "200 40001"},
            {"stranger fetches with the ticket",
             "package.action?cid=SMS_BOOK&uid=STRANGER&ticket=TICKET", "403 40301"},
            {"nobody fetches with the ticket", "package.action?cid=SMS_BOOK&ticket=TICKET",
             "403 40301"},
            {"the ticket on another book",
             "package.action?cid=ACCOUNT_BOOK&uid=BUYER&ticket=TICKET", "403 40301"},
            {"the order id as ticket", "package.action?cid=SMS_BOOK&uid=BUYER&ticket=PAID_SID",
             "403 40301"},
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
    }

    void strangersAreRefused()
    {
        QFETCH(QString, attack);
        QFETCH(QString, refusal);
        const QString buyer = m_client.newUser();
        const QString stranger = m_client.newUser();
        QString paidSid;
        const QString link = buyBySms(buyer, &paidSid);
        const auto offer = m_client.order(buyer, AccountBook);
        QCOMPARE(offer->attr("ret"), "pay");
        attack.replace("STRANGER", stranger)
            .replace("BUYER", buyer)
            .replace("ACCOUNT_BOOK", AccountBook)
            .replace("SMS_BOOK", SmsBook)
            .replace("OPEN_SID", offer->attr("sid"))
            .replace("PAID_SID", paidSid)
            .replace("TICKET", QUrlQuery(QUrl(link)).queryItemValue("ticket"));

        const HttpResult result = m_client.get("/vorelreader/" + attack);
        const auto doc = XmlNode::parse(result.body);
        QVERIFY2(doc, result.body.constData());
        QCOMPARE(QString("%1 %2").arg(result.status).arg(doc->childText("error").left(5)), refusal);
        QVERIFY(!doc->child("link") && doc->attr("sid").isEmpty());
        // Nobody's money moved, and the buyer's own link still works.
        QCOMPARE(m_client.account(buyer), "10.00 元 / 1");
        QCOMPARE(m_client.account(stranger), "10.00 元 / 0");
        QCOMPARE(m_client.get(link.mid(m_client.url("").size())).status, 200);
    }

    // The reader's own requests: the order URL from its URL maker, the answer
    // through its reader, the package link and the cover URL fetched through
    // its request channel, which re-encodes every query item.
    void clientFetchesLinks_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("free") << FreeBook;
        QTest::newRow("dotted id, paid by message") << SmsBook;
        QTest::newRow("non-ASCII id, paid from the account") << NonAsciiBook;
    }

    void clientFetchesLinks()
    {
        QFETCH(QString, id);
        const QString uid = m_client.newUser();
        UrlMaker request(RequestDownload);
        request.downLoadReqAssemble(uid, Imei, id, SCreenWidth_Meego, SCreenHeight_Meego, Ua,
                                    Chinese, Channel, Version);
        std::unique_ptr<Downloadtype> answer = readOrder(request.getUrl());
        QVERIFY(answer);
        if (answer->ret == "chargedef")
            QCOMPARE(sendCharge(answer->itemUrl), "paid");
        if (answer->ret != "download") {
            UrlMaker continuation(RequestDownload);
            continuation.downLoadReqAssembleEx(answer->itemId, answer->sid, uid, id,
                                               SCreenWidth_Meego, SCreenHeight_Meego, Ua, Chinese,
                                               Channel, Version, Imei);
            answer = readOrder(continuation.getUrl());
            QVERIFY(answer);
        }
        QCOMPARE(answer->ret, "download");
        // The download engine names the package file after the link's cid.
        QCOMPARE(QUrlQuery(QUrl(answer->link)).queryItemValue("cid", QUrl::FullyDecoded), id);

        QFile file(m_books + '/' + id + ".vbp");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray package = file.readAll();
        QCOMPARE(answer->size, qint64(package.size()));
        QCOMPARE(clientGet(answer->link), package);
        QCOMPARE(clientGet(answer->link, {{"Range", "bytes=10-"}}), package.mid(10));

        UrlMaker cover(RequestCover);
        cover.coverReqAssemble(id, "360_640", Pic_Size_44_63, Ua, Chinese, Channel, uid, Version,
                               Imei);
        QCOMPARE(QImage::fromData(clientGet(cover.getUrl()), "PNG").size(), QSize(44, 63));
    }

    // Whatever was bought, paid or ordered before a SIGKILL is there after
    // the restart, and what is bought is not charged again.
    void ledgerSurvivesKill()
    {
        const QString uid = m_client.newUser();
        const QString accountLink = pay(uid, AccountBook, *m_client.order(uid, AccountBook));
        const QString smsLink = buyBySms(uid, nullptr);
        const auto open = m_client.order(uid, OtherAccountBook);
        QCOMPARE(m_client.account(uid), "9.00 元 / 2");

        QVERIFY(m_server.kill());
        const QString restarted = m_server.restart();
        QVERIFY2(restarted.isEmpty(), qPrintable(restarted));

        QCOMPARE(m_client.account(uid), "9.00 元 / 2");
        for (const QString &link : {accountLink, smsLink})
            QCOMPARE(m_client.get(link.mid(m_client.url("").size())).status, 200);
        QCOMPARE(m_client.order(uid, AccountBook)->childText("link"), accountLink);
        QCOMPARE(m_client.order(uid, SmsBook)->childText("link"), smsLink);
        QCOMPARE(m_client.account(uid), "9.00 元 / 2");
        QVERIFY(!pay(uid, OtherAccountBook, *open).isEmpty());
        QCOMPARE(m_client.account(uid), "8.00 元 / 3");
    }

private:
    // Confirms an account order; the package link, or empty.
    QString pay(const QString &uid, const QString &id, const XmlNode &offer)
    {
        return m_client.order(uid, id, "&sid=" + offer.attr("sid"))->childText("link");
    }

    // Orders the message-paid book, pays by message and continues; the
    // package link, or empty.
    QString buyBySms(const QString &uid, QString *sid)
    {
        const auto charge = m_client.order(uid, SmsBook);
        const XmlNode *item = charge->child("item");
        if (!item || sendCharge(item->attr("url")) != "paid")
            return QString();
        if (sid)
            *sid = charge->attr("sid");
        return m_client
            .order(uid, SmsBook, "&sid=" + charge->attr("sid") + "&pid=" + item->attr("id"))
            ->childText("link");
    }

    // Sends the payment message of a charge to the carrier, with number and
    // body taken from the charge as the reader takes them; what the carrier
    // says of the payment.
    QString sendCharge(const QString &smsUrl)
    {
        const qsizetype colon = smsUrl.indexOf(':', 4);
        const QString number = smsUrl.mid(6, colon - 6);
        const QString body = smsUrl.mid(colon + 1);
        return m_client.sms("number=" + QUrl::toPercentEncoding(number) +
                            "&body=" + QUrl::toPercentEncoding(body));
    }

    // The body of a GET sent the way the reader sends it; empty unless the
    // store answered 200 or 206.
    static QByteArray clientGet(const QString &url, const HttpHeaders &headers = {})
    {
        HttpCommunicator http(HttpCommunicator::HttpRequestTypeGet, url, QByteArray(), headers,
                              false);
        QSignalSpy done(&http, &HttpCommunicator::finishedRequest);
        http.makeRequest();
        if (!done.wait(30000) || !http.networkReply())
            return QByteArray();
        const int status =
            http.networkReply()->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return status == 200 || status == 206 ? http.networkReplyBody() : QByteArray();
    }

    // The order answer as the reader reads it; null when it could not be read.
    static std::unique_ptr<Downloadtype> readOrder(const QString &url)
    {
        auto answer = std::make_unique<Downloadtype>();
        const QByteArray body = clientGet(url);
        if (body.isEmpty() || !EBookReaderDownloadXmlHandler().readFile(body, answer.get()))
            return nullptr;
        return answer;
    }

    QTemporaryDir m_dir;
    QString m_books;
    StoreServerProcess m_server;
    StoreClient m_client;
};

QTEST_MAIN(TestStoreSelling)
#include "tst_storeselling.moc"
