#include "urlmaker.h"

#include "commondef.h"

#include <QByteArray>
#include <QList>
#include <QUrl>

UrlMaker::UrlMaker(RequestType rType)
{
    m_allUrl.clear();
    m_head = Head;
    m_allUrl.append(m_head);
    setAction(rType);
}

void UrlMaker::setAction(RequestType rType)
{
    const char *action = nullptr;
    switch (rType) {
    case RequestLogin:
        action = UserLogInAction;
        break;
    case RequestBookInfo:
        action = BookInfoAction;
        break;
    case RequestLibrary:
        action = LibraryAction;
        break;
    case RequestSearch:
        action = SearchAction;
        break;
    case RequestDownload:
        action = DownLoadAction;
        break;
    case RequestCover:
        action = CoverAction;
        break;
    case RequestDefaultKeyword:
        action = KeyWordsAction;
        break;
    case RequestMyAccountInfo:
        action = MyAccountInfoAction;
        break;
    }
    if (!action)
        return;
    m_prefixUrl = QLatin1String(action);
    m_allUrl.append(m_prefixUrl);
}

void UrlMaker::appendQuery(const char *names, std::initializer_list<QString> values,
                           bool trailingSeparator)
{
    const QList<QByteArray> keys = QByteArray(names).split(' ');
    const qsizetype count = qMin(keys.size(), qsizetype(values.size()));
    m_allUrl.append(QLatin1Char('?'));
    const QString *value = values.begin();
    for (qsizetype i = 0; i < count; ++i, ++value) {
        if (value->isEmpty())
            continue;
        m_allUrl.append(QLatin1String(keys.at(i)));
        m_allUrl.append(QLatin1Char('='));
        // A typed "&", "%", "=" or "#" must stay part of the value: once the
        // URL is finished nobody can tell it from URL syntax any more. The
        // unreserved characters stay as they are, so ids and numbers read the
        // same as before.
        m_allUrl.append(QLatin1String(QUrl::toPercentEncoding(*value)));
        // The separator depends on the position in the list, not on whether
        // a later value is present: an empty last value leaves a trailing "&".
        if (i != count - 1 || trailingSeparator)
            m_allUrl.append(QLatin1Char('&'));
    }
}

void UrlMaker::loginReqAssemble(QString uid, QString imei, QString width, QString height,
                                QString ver, QString lan, QString chan, QString ua, QString abver)
{
    // The store expects the login query to end with "&".
    appendQuery("uid imei width height ver lan chan ua abver",
                {uid, imei, width, height, ver, lan, chan, ua, abver}, true);
}

void UrlMaker::bookInfoReqAssemble(QString uid, QString imei, QString lan, QString cat,
                                   QString chan, QString bookId, QString ua, QString ver,
                                   QString width, QString height)
{
    appendQuery("uid imei lan cat chan bookid ua ver width height",
                {uid, imei, lan, cat, chan, bookId, ua, ver, width, height});
}

void UrlMaker::libraryReqAssemble(QString uid, QString imei, QString lan, QString cat, QString chan,
                                  QString ver, QString ua)
{
    appendQuery("uid imei lan cat chan ver ua", {uid, imei, lan, cat, chan, ver, ua});
}

void UrlMaker::libraryAndUidReqAssemble(QString uid, QString imei, QString lan, QString cat,
                                        QString chan, QString ver, QString ua, QString openflag)
{
    appendQuery("uid imei lan cat chan ver ua openflag",
                {uid, imei, lan, cat, chan, ver, ua, openflag});
}

void UrlMaker::libraryCatReqAssemble(QString cat, QString ua, QString lan, QString chan,
                                     QString uid, QString ver, QString imei)
{
    appendQuery("cat ua lan chan uid ver imei", {cat, ua, lan, chan, uid, ver, imei});
}

void UrlMaker::searchByKeyReqAssemble(QString uid, QString imei, QString lan, QString cat,
                                      QString chan, QString keyword, QString pageidx,
                                      QString numperpage, QString ver, QString ua)
{
    appendQuery("uid imei lan cat chan keyword pageidx numperpage ver ua",
                {uid, imei, lan, cat, chan, keyword, pageidx, numperpage, ver, ua});
}

void UrlMaker::searchMoreReqAssemble(QString uid, QString imei, QString lan, QString cat,
                                     QString chan, QString catid, QString pageidx,
                                     QString numperpage, QString ver, QString ua)
{
    appendQuery("uid imei lan cat chan catid pageidx numperpage ver ua",
                {uid, imei, lan, cat, chan, catid, pageidx, numperpage, ver, ua});
}

void UrlMaker::defKeywordsReqAssemble(QString imei, QString ua, QString lan, QString chan,
                                      QString uid, QString ver)
{
    appendQuery("imei ua lan chan uid ver", {imei, ua, lan, chan, uid, ver});
}

void UrlMaker::defKeywordsAndUidReqAssemble(QString imei, QString ua, QString lan, QString chan,
                                            QString uid, QString ver, QString openflag)
{
    appendQuery("imei ua lan chan uid ver openflag", {imei, ua, lan, chan, uid, ver, openflag});
}

void UrlMaker::myAccountReqAssemble(QString ua, QString lan, QString chan, QString uid, QString ver,
                                    QString imei)
{
    appendQuery("ua lan chan uid ver imei", {ua, lan, chan, uid, ver, imei});
}

void UrlMaker::myAccountAndUidReqAssemble(QString ua, QString lan, QString chan, QString uid,
                                          QString ver, QString imei, QString openflag)
{
    appendQuery("ua lan chan uid ver imei openflag", {ua, lan, chan, uid, ver, imei, openflag});
}

void UrlMaker::downLoadReqAssemble(QString uid, QString imei, QString cid, QString width,
                                   QString height, QString ua, QString lan, QString chan,
                                   QString ver)
{
    appendQuery("uid imei cid width height ua lan chan ver",
                {uid, imei, cid, width, height, ua, lan, chan, ver});
}

void UrlMaker::downLoadReqAssembleEx(QString pid, QString sid, QString uid, QString cid,
                                     QString width, QString height, QString ua, QString lan,
                                     QString chan, QString ver, QString imei)
{
    appendQuery("pid sid uid cid width height ua lan chan ver imei",
                {pid, sid, uid, cid, width, height, ua, lan, chan, ver, imei});
}

void UrlMaker::coverReqAssemble(QString id, QString resolution, QString size, QString ua,
                                QString lan, QString chan, QString uid, QString ver, QString imei)
{
    appendQuery("id resolution size ua lan chan uid ver imei",
                {id, resolution, size, ua, lan, chan, uid, ver, imei});
}

QString UrlMaker::getUrl() const
{
    return m_allUrl;
}
