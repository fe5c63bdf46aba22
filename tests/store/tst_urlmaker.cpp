// Every store URL form, as exact text.
#include "urlmaker.h"

#include <QtTest>

class TestUrlMaker : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void forms_data();
    void forms();
};

namespace {

const QString Base = QStringLiteral("http://store.test:8080/vorelreader/");

// Builds one URL of the given assembler from its arguments in order.
QString build(const QString &form, const QStringList &a)
{
    auto arg = [&a](int i) { return a.value(i); };
    if (form == QLatin1String("login")) {
        UrlMaker m(RequestLogin);
        m.loginReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6), arg(7), arg(8));
        return m.getUrl();
    }
    if (form == QLatin1String("bookInfo")) {
        UrlMaker m(RequestBookInfo);
        m.bookInfoReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6), arg(7),
                              arg(8), arg(9));
        return m.getUrl();
    }
    if (form == QLatin1String("library")) {
        UrlMaker m(RequestLibrary);
        m.libraryReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6));
        return m.getUrl();
    }
    if (form == QLatin1String("libraryAndUid")) {
        UrlMaker m(RequestLibrary);
        m.libraryAndUidReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6), arg(7));
        return m.getUrl();
    }
    if (form == QLatin1String("libraryCat")) {
        UrlMaker m(RequestLibrary);
        m.libraryCatReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6));
        return m.getUrl();
    }
    if (form == QLatin1String("searchByKey")) {
        UrlMaker m(RequestSearch);
        m.searchByKeyReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6), arg(7),
                                 arg(8), arg(9));
        return m.getUrl();
    }
    if (form == QLatin1String("searchMore")) {
        UrlMaker m(RequestSearch);
        m.searchMoreReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6), arg(7),
                                arg(8), arg(9));
        return m.getUrl();
    }
    if (form == QLatin1String("defKeywords")) {
        UrlMaker m(RequestDefaultKeyword);
        m.defKeywordsReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5));
        return m.getUrl();
    }
    if (form == QLatin1String("defKeywordsAndUid")) {
        UrlMaker m(RequestDefaultKeyword);
        m.defKeywordsAndUidReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6));
        return m.getUrl();
    }
    if (form == QLatin1String("myAccount")) {
        UrlMaker m(RequestMyAccountInfo);
        m.myAccountReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5));
        return m.getUrl();
    }
    if (form == QLatin1String("myAccountAndUid")) {
        UrlMaker m(RequestMyAccountInfo);
        m.myAccountAndUidReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6));
        return m.getUrl();
    }
    if (form == QLatin1String("downLoad")) {
        UrlMaker m(RequestDownload);
        m.downLoadReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6), arg(7),
                              arg(8));
        return m.getUrl();
    }
    if (form == QLatin1String("downLoadEx")) {
        UrlMaker m(RequestDownload);
        m.downLoadReqAssembleEx(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6), arg(7),
                                arg(8), arg(9), arg(10));
        return m.getUrl();
    }
    if (form == QLatin1String("cover")) {
        UrlMaker m(RequestCover);
        m.coverReqAssemble(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6), arg(7), arg(8));
        return m.getUrl();
    }
    return QString();
}

} // namespace

void TestUrlMaker::initTestCase()
{
    qputenv("ZARVOREADER_STORE", "store.test:8080");
}

void TestUrlMaker::forms_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("expected");

    const QString U = QStringLiteral("u77");
    const QString I = QStringLiteral("356938035643809");
    const QString P = QStringLiteral("N9");

    QTest::newRow("store front, uid known")
        << "library" << QStringList{U, I, "zh", "novel", "2014", "qt.2.0.0", P}
        << Base + "library.action?uid=u77&imei=356938035643809&lan=zh&cat=novel&chan=2014"
                  "&ver=qt.2.0.0&ua=N9";
    QTest::newRow("store front, uid empty")
        << "libraryAndUid" << QStringList{"", I, "zh", "novel", "2014", "qt.2.0.0", P, "true"}
        << Base + "library.action?imei=356938035643809&lan=zh&cat=novel&chan=2014&ver=qt.2.0.0"
                  "&ua=N9&openflag=true";
    QTest::newRow("category page")
        << "libraryCat" << QStringList{"c12", P, "zh", "2014", U, "qt.2.0.0", I}
        << Base + "library.action?cat=c12&ua=N9&lan=zh&chan=2014&uid=u77&ver=qt.2.0.0"
                  "&imei=356938035643809";
    QTest::newRow("category page, empty category id starts with ua")
        << "libraryCat" << QStringList{"", P, "zh", "2014", U, "qt.2.0.0", I}
        << Base + "library.action?ua=N9&lan=zh&chan=2014&uid=u77&ver=qt.2.0.0"
                  "&imei=356938035643809";
    QTest::newRow("book details")
        << "bookInfo" << QStringList{U, I, "zh", "novel", "2014", "b5", P, "qt.2.0.0", "480", "800"}
        << Base + "bookinfo.action?uid=u77&imei=356938035643809&lan=zh&cat=novel&chan=2014"
                  "&bookid=b5&ua=N9&ver=qt.2.0.0&width=480&height=800";
    QTest::newRow("keyword search, raw keyword")
        << "searchByKey"
        << QStringList{U, I, "zh", "novel", "2014", "红楼 梦", "1", "12", "qt.2.0.0", P}
        << Base + "search.action?uid=u77&imei=356938035643809&lan=zh&cat=novel&chan=2014"
                  "&keyword=红楼 梦&pageidx=1&numperpage=12&ver=qt.2.0.0&ua=N9";
    QTest::newRow("recommendation page 3")
        << "searchMore" << QStringList{U, I, "zh", "novel", "2014", "r9", "3", "12", "qt.2.0.0", P}
        << Base + "search.action?uid=u77&imei=356938035643809&lan=zh&cat=novel&chan=2014"
                  "&catid=r9&pageidx=3&numperpage=12&ver=qt.2.0.0&ua=N9";
    QTest::newRow("keywords, uid known")
        << "defKeywords" << QStringList{I, P, "zh", "2014", U, "qt.2.0.0"}
        << Base + "keywords.action?imei=356938035643809&ua=N9&lan=zh&chan=2014&uid=u77"
                  "&ver=qt.2.0.0";
    QTest::newRow("keywords, uid empty")
        << "defKeywordsAndUid" << QStringList{I, P, "zh", "2014", "", "qt.2.0.0", "true"}
        << Base + "keywords.action?imei=356938035643809&ua=N9&lan=zh&chan=2014&ver=qt.2.0.0"
                  "&openflag=true";
    QTest::newRow("account, uid known")
        << "myAccount" << QStringList{P, "zh", "2014", U, "qt.2.0.0", I}
        << Base + "myaccountinfo.action?ua=N9&lan=zh&chan=2014&uid=u77&ver=qt.2.0.0"
                  "&imei=356938035643809";
    QTest::newRow("account, uid empty")
        << "myAccountAndUid" << QStringList{P, "zh", "2014", "", "qt.2.0.0", I, "true"}
        << Base + "myaccountinfo.action?ua=N9&lan=zh&chan=2014&ver=qt.2.0.0"
                  "&imei=356938035643809&openflag=true";
    QTest::newRow("login ends with &")
        << "login" << QStringList{U, I, "480", "800", "qt.2.0.0", "zh", "2014", P, "2.0.0"}
        << Base + "userlogin.action?uid=u77&imei=356938035643809&width=480&height=800"
                  "&ver=qt.2.0.0&lan=zh&chan=2014&ua=N9&abver=2.0.0&";
    QTest::newRow("first login, no uid")
        << "login" << QStringList{"", I, "480", "800", "qt.2.0.0", "zh", "2014", P, "2.0.0"}
        << Base + "userlogin.action?imei=356938035643809&width=480&height=800"
                  "&ver=qt.2.0.0&lan=zh&chan=2014&ua=N9&abver=2.0.0&";
    QTest::newRow("download order")
        << "downLoad" << QStringList{U, I, "b5", "480", "800", P, "zh", "2014", "qt.2.0.0"}
        << Base + "download.action?uid=u77&imei=356938035643809&cid=b5&width=480&height=800"
                  "&ua=N9&lan=zh&chan=2014&ver=qt.2.0.0";
    QTest::newRow("download continuation")
        << "downLoadEx"
        << QStringList{"p1", "s2", U, "b5", "480", "800", P, "zh", "2014", "qt.2.0.0", I}
        << Base + "download.action?pid=p1&sid=s2&uid=u77&cid=b5&width=480&height=800&ua=N9"
                  "&lan=zh&chan=2014&ver=qt.2.0.0&imei=356938035643809";
    QTest::newRow("large cover ends with imei, no &")
        << "cover" << QStringList{"b5", "480_800", "82_118", P, "zh", "2014", U, "qt.2.0.0", I}
        << Base + "cover.action?id=b5&resolution=480_800&size=82_118&ua=N9&lan=zh&chan=2014"
                  "&uid=u77&ver=qt.2.0.0&imei=356938035643809";
    QTest::newRow("cover without imei ends with &")
        << "cover" << QStringList{"b5", "360_640", "44_63", P, "zh", "2014", U, "qt.2.0.0", ""}
        << Base + "cover.action?id=b5&resolution=360_640&size=44_63&ua=N9&lan=zh&chan=2014"
                  "&uid=u77&ver=qt.2.0.0&";
    QTest::newRow("no imei anywhere in the middle")
        << "library" << QStringList{U, "", "zh", "novel", "2014", "qt.2.0.0", P}
        << Base + "library.action?uid=u77&lan=zh&cat=novel&chan=2014&ver=qt.2.0.0&ua=N9";
    QTest::newRow("all values empty ends with ?")
        << "defKeywords" << QStringList{"", "", "", "", "", ""} << Base + "keywords.action?";
    QTest::newRow("login with every value empty")
        << "login" << QStringList{"", "", "", "", "", "", "", "", ""} << Base + "userlogin.action?";
}

void TestUrlMaker::forms()
{
    QFETCH(QString, form);
    QFETCH(QStringList, args);
    QFETCH(QString, expected);
    QCOMPARE(build(form, args), expected);
}

QTEST_GUILESS_MAIN(TestUrlMaker)
#include "tst_urlmaker.moc"
