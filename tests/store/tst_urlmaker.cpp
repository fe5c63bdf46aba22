// Every store URL form, as exact text.
#include "urlmaker.h"

#include <QtTest>
#include <utility>

namespace {

const QString Base = QStringLiteral("http://store.test:8080/vorelreader/");

template <typename... Params, std::size_t... I>
void callWith(UrlMaker &maker, void (UrlMaker::*assemble)(Params...), const QStringList &args,
              std::index_sequence<I...>)
{
    (maker.*assemble)(args.value(I)...);
}

// One URL of the given kind from the assembler's arguments in order.
template <typename... Params>
QString url(RequestType type, void (UrlMaker::*assemble)(Params...), const QStringList &args)
{
    UrlMaker maker(type);
    callWith(maker, assemble, args, std::index_sequence_for<Params...>{});
    return maker.getUrl();
}

} // namespace

class TestUrlMaker : public QObject
{
    Q_OBJECT
private slots:
    void forms_data()
    {
        QTest::addColumn<QString>("built");
        QTest::addColumn<QString>("expected");

        const QString U = QStringLiteral("u7");
        const QString I = QStringLiteral("i9");
        const QString P = QStringLiteral("TestPhone");
        using M = UrlMaker;

        QTest::newRow("store front, uid known")
            << url(RequestLibrary, &M::libraryReqAssemble, {U, I, "zh", "c", "ch", "v2", P})
            << Base + "library.action?uid=u7&imei=i9&lan=zh&cat=c&chan=ch&ver=v2&ua=TestPhone";
        QTest::newRow("store front, uid empty")
            << url(RequestLibrary, &M::libraryAndUidReqAssemble,
                   {"", I, "zh", "c", "ch", "v2", P, "true"})
            << Base +
                   "library.action?imei=i9&lan=zh&cat=c&chan=ch&ver=v2&ua=TestPhone&openflag=true";
        QTest::newRow("category page")
            << url(RequestLibrary, &M::libraryCatReqAssemble, {"c12", P, "zh", "ch", U, "v2", I})
            << Base + "library.action?cat=c12&ua=TestPhone&lan=zh&chan=ch&uid=u7&ver=v2&imei=i9";
        QTest::newRow("category page, empty category id starts with ua")
            << url(RequestLibrary, &M::libraryCatReqAssemble, {"", P, "zh", "ch", U, "v2", I})
            << Base + "library.action?ua=TestPhone&lan=zh&chan=ch&uid=u7&ver=v2&imei=i9";
        QTest::newRow("book details")
            << url(RequestBookInfo, &M::bookInfoReqAssemble,
                   {U, I, "zh", "c", "ch", "b5", P, "v2", "w4", "h8"})
            << Base + "bookinfo.action?uid=u7&imei=i9&lan=zh&cat=c&chan=ch"
                      "&bookid=b5&ua=TestPhone&ver=v2&width=w4&height=h8";
        const auto search = [&](const QString &keyword, const QString &page) {
            return url(RequestSearch, &M::searchByKeyReqAssemble,
                       {U, I, "zh", "c", "ch", keyword, page, "12", "v2", P});
        };
        const QString searchAt = Base + "search.action?uid=u7&imei=i9&lan=zh&cat=c&chan=ch";
        QTest::newRow("keyword search, UTF-8 keyword with a space")
            << search("红楼 梦", "1")
            << searchAt + "&keyword=%E7%BA%A2%E6%A5%BC%20%E6%A2%A6&pageidx=1&numperpage=12"
                          "&ver=v2&ua=TestPhone";
        // Typed URL syntax stays inside its value; "-._~" stay as they are.
        QTest::newRow("keyword search, URL syntax typed")
            << search("A&B=50%41#+-._~", "2")
            << searchAt + "&keyword=A%26B%3D50%2541%23%2B-._~&pageidx=2&numperpage=12"
                          "&ver=v2&ua=TestPhone";
        QTest::newRow("book details, id from an answer")
            << url(RequestBookInfo, &M::bookInfoReqAssemble,
                   {U, I, "zh", "c", "ch", "b?5/6", P, "v2", "w4", "h8"})
            << Base + "bookinfo.action?uid=u7&imei=i9&lan=zh&cat=c&chan=ch"
                      "&bookid=b%3F5%2F6&ua=TestPhone&ver=v2&width=w4&height=h8";
        QTest::newRow("recommendation page 3")
            << url(RequestSearch, &M::searchMoreReqAssemble,
                   {U, I, "zh", "c", "ch", "r9", "3", "12", "v2", P})
            << searchAt + "&catid=r9&pageidx=3&numperpage=12&ver=v2&ua=TestPhone";
        QTest::newRow("keywords, uid known")
            << url(RequestDefaultKeyword, &M::defKeywordsReqAssemble, {I, P, "zh", "ch", U, "v2"})
            << Base + "keywords.action?imei=i9&ua=TestPhone&lan=zh&chan=ch&uid=u7&ver=v2";
        QTest::newRow("keywords, uid empty")
            << url(RequestDefaultKeyword, &M::defKeywordsAndUidReqAssemble,
                   {I, P, "zh", "ch", "", "v2", "true"})
            << Base + "keywords.action?imei=i9&ua=TestPhone&lan=zh&chan=ch&ver=v2&openflag=true";
        QTest::newRow("account, uid known")
            << url(RequestMyAccountInfo, &M::myAccountReqAssemble, {P, "zh", "ch", U, "v2", I})
            << Base + "myaccountinfo.action?ua=TestPhone&lan=zh&chan=ch&uid=u7&ver=v2&imei=i9";
        QTest::newRow("account, uid empty")
            << url(RequestMyAccountInfo, &M::myAccountAndUidReqAssemble,
                   {P, "zh", "ch", "", "v2", I, "true"})
            << Base +
                   "myaccountinfo.action?ua=TestPhone&lan=zh&chan=ch&ver=v2&imei=i9&openflag=true";
        QTest::newRow("login ends with &")
            << url(RequestLogin, &M::loginReqAssemble,
                   {U, I, "w4", "h8", "v2", "zh", "ch", P, "2.0.0"})
            << Base + "userlogin.action?uid=u7&imei=i9&width=w4&height=h8&ver=v2"
                      "&lan=zh&chan=ch&ua=TestPhone&abver=2.0.0&";
        QTest::newRow("download order")
            << url(RequestDownload, &M::downLoadReqAssemble,
                   {U, I, "b5", "w4", "h8", P, "zh", "ch", "v2"})
            << Base + "download.action?uid=u7&imei=i9&cid=b5&width=w4&height=h8"
                      "&ua=TestPhone&lan=zh&chan=ch&ver=v2";
        QTest::newRow("download continuation")
            << url(RequestDownload, &M::downLoadReqAssembleEx,
                   {"p1", "s2", U, "b5", "w4", "h8", P, "zh", "ch", "v2", I})
            << Base + "download.action?pid=p1&sid=s2&uid=u7&cid=b5&width=w4"
                      "&height=h8&ua=TestPhone&lan=zh&chan=ch&ver=v2&imei=i9";
        QTest::newRow("large cover ends with imei, no &")
            << url(RequestCover, &M::coverReqAssemble,
                   {"b5", "480_800", "82_118", P, "zh", "ch", U, "v2", I})
            << Base + "cover.action?id=b5&resolution=480_800&size=82_118&ua=TestPhone"
                      "&lan=zh&chan=ch&uid=u7&ver=v2&imei=i9";
        QTest::newRow("cover without imei ends with &")
            << url(RequestCover, &M::coverReqAssemble,
                   {"b5", "360_640", "44_63", P, "zh", "ch", U, "v2", ""})
            << Base + "cover.action?id=b5&resolution=360_640&size=44_63&ua=TestPhone"
                      "&lan=zh&chan=ch&uid=u7&ver=v2&";
        QTest::newRow("all values empty ends with ?")
            << url(RequestDefaultKeyword, &M::defKeywordsReqAssemble, {})
            << Base + "keywords.action?";
        QTest::newRow("login with every value empty")
            << url(RequestLogin, &M::loginReqAssemble, {}) << Base + "userlogin.action?";
    }

    void forms()
    {
        QFETCH(QString, built);
        QFETCH(QString, expected);
        QCOMPARE(built, expected);
    }
};

QTEST_GUILESS_MAIN(TestUrlMaker)
#include "tst_urlmaker.moc"
