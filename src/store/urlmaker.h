#ifndef URLMAKER_H
#define URLMAKER_H

#include <QString>
#include <initializer_list>

// Selects the store action a request goes to.
enum RequestType
{
    RequestLogin,
    RequestBookInfo,
    RequestLibrary,
    RequestSearch,
    RequestDownload,
    RequestCover,
    RequestDefaultKeyword,
    RequestMyAccountInfo
};

// Builds the URL text of one store request: base URL, action file name and a
// query of name=value pairs in a fixed order per request kind. Empty values
// are left out; every value goes in as its UTF-8 percent-encoding, letters,
// digits and "-._~" unchanged. Construct, call one assembler, read getUrl().
class UrlMaker
{
public:
    explicit UrlMaker(RequestType rType);

    void loginReqAssemble(QString uid, QString imei, QString width, QString height, QString ver,
                          QString lan, QString chan, QString ua, QString abver);
    void bookInfoReqAssemble(QString uid, QString imei, QString lan, QString cat, QString chan,
                             QString bookId, QString ua, QString ver, QString width,
                             QString height);
    void libraryReqAssemble(QString uid, QString imei, QString lan, QString cat, QString chan,
                            QString ver, QString ua);
    void libraryAndUidReqAssemble(QString uid, QString imei, QString lan, QString cat, QString chan,
                                  QString ver, QString ua, QString openflag);
    void libraryCatReqAssemble(QString cat, QString ua, QString lan, QString chan, QString uid,
                               QString ver, QString imei);
    void searchByKeyReqAssemble(QString uid, QString imei, QString lan, QString cat, QString chan,
                                QString keyword, QString pageidx, QString numperpage, QString ver,
                                QString ua);
    void searchMoreReqAssemble(QString uid, QString imei, QString lan, QString cat, QString chan,
                               QString catid, QString pageidx, QString numperpage, QString ver,
                               QString ua);
    void defKeywordsReqAssemble(QString imei, QString ua, QString lan, QString chan, QString uid,
                                QString ver);
    void defKeywordsAndUidReqAssemble(QString imei, QString ua, QString lan, QString chan,
                                      QString uid, QString ver, QString openflag);
    void myAccountReqAssemble(QString ua, QString lan, QString chan, QString uid, QString ver,
                              QString imei);
    void myAccountAndUidReqAssemble(QString ua, QString lan, QString chan, QString uid, QString ver,
                                    QString imei, QString openflag);
    void downLoadReqAssemble(QString uid, QString imei, QString cid, QString width, QString height,
                             QString ua, QString lan, QString chan, QString ver);
    void downLoadReqAssembleEx(QString pid, QString sid, QString uid, QString cid, QString width,
                               QString height, QString ua, QString lan, QString chan, QString ver,
                               QString imei);
    void coverReqAssemble(QString id, QString resolution, QString size, QString ua, QString lan,
                          QString chan, QString uid, QString ver, QString imei);

    QString getUrl() const;

private:
    void setAction(RequestType rType);
    // Appends "?" and name=value for each of the blank-separated names and
    // its value, in order; every pair but the last is followed by "&" (the
    // last one too when trailingSeparator is set).
    void appendQuery(const char *names, std::initializer_list<QString> values,
                     bool trailingSeparator = false);

    QString m_prefixUrl;
    QString m_allUrl;
    QString m_head;
};

#endif // URLMAKER_H
