#include "urlmaker.h"

#include "commondef.h"

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

void UrlMaker::appendQuery(std::initializer_list<Pair> pairs, bool trailingSeparator)
{
    m_allUrl.append(QLatin1Char('?'));
    const Pair *last = pairs.end() - 1;
    for (const Pair *p = pairs.begin(); p != pairs.end(); ++p) {
        if (p->second.isEmpty())
            continue;
        m_allUrl.append(QLatin1String(p->first));
        m_allUrl.append(p->second);
        // The separator depends on the position in the list, not on whether
        // a later value is present: an empty last value leaves a trailing "&".
        if (p != last || trailingSeparator)
            m_allUrl.append(QLatin1Char('&'));
    }
}

void UrlMaker::loginReqAssemble(QString uid, QString imei, QString width, QString height,
                                QString ver, QString lan, QString chan, QString ua, QString abver)
{
    // The store expects the login query to end with "&".
    appendQuery({{"uid=", uid},
                 {"imei=", imei},
                 {"width=", width},
                 {"height=", height},
                 {"ver=", ver},
                 {"lan=", lan},
                 {"chan=", chan},
                 {"ua=", ua},
                 {"abver=", abver}},
                true);
}

void UrlMaker::bookInfoReqAssemble(QString uid, QString imei, QString lan, QString cat,
                                   QString chan, QString bookId, QString ua, QString ver,
                                   QString width, QString height)
{
    appendQuery({{"uid=", uid},
                 {"imei=", imei},
                 {"lan=", lan},
                 {"cat=", cat},
                 {"chan=", chan},
                 {"bookid=", bookId},
                 {"ua=", ua},
                 {"ver=", ver},
                 {"width=", width},
                 {"height=", height}});
}

void UrlMaker::libraryReqAssemble(QString uid, QString imei, QString lan, QString cat, QString chan,
                                  QString ver, QString ua)
{
    appendQuery({{"uid=", uid},
                 {"imei=", imei},
                 {"lan=", lan},
                 {"cat=", cat},
                 {"chan=", chan},
                 {"ver=", ver},
                 {"ua=", ua}});
}

void UrlMaker::libraryAndUidReqAssemble(QString uid, QString imei, QString lan, QString cat,
                                        QString chan, QString ver, QString ua, QString openflag)
{
    appendQuery({{"uid=", uid},
                 {"imei=", imei},
                 {"lan=", lan},
                 {"cat=", cat},
                 {"chan=", chan},
                 {"ver=", ver},
                 {"ua=", ua},
                 {"openflag=", openflag}});
}

void UrlMaker::libraryCatReqAssemble(QString cat, QString ua, QString lan, QString chan,
                                     QString uid, QString ver, QString imei)
{
    appendQuery({{"cat=", cat},
                 {"ua=", ua},
                 {"lan=", lan},
                 {"chan=", chan},
                 {"uid=", uid},
                 {"ver=", ver},
                 {"imei=", imei}});
}

void UrlMaker::searchByKeyReqAssemble(QString uid, QString imei, QString lan, QString cat,
                                      QString chan, QString keyword, QString pageidx,
                                      QString numperpage, QString ver, QString ua)
{
    appendQuery({{"uid=", uid},
                 {"imei=", imei},
                 {"lan=", lan},
                 {"cat=", cat},
                 {"chan=", chan},
                 {"keyword=", keyword},
                 {"pageidx=", pageidx},
                 {"numperpage=", numperpage},
                 {"ver=", ver},
                 {"ua=", ua}});
}

void UrlMaker::searchMoreReqAssemble(QString uid, QString imei, QString lan, QString cat,
                                     QString chan, QString catid, QString pageidx,
                                     QString numperpage, QString ver, QString ua)
{
    appendQuery({{"uid=", uid},
                 {"imei=", imei},
                 {"lan=", lan},
                 {"cat=", cat},
                 {"chan=", chan},
                 {"catid=", catid},
                 {"pageidx=", pageidx},
                 {"numperpage=", numperpage},
                 {"ver=", ver},
                 {"ua=", ua}});
}

void UrlMaker::defKeywordsReqAssemble(QString imei, QString ua, QString lan, QString chan,
                                      QString uid, QString ver)
{
    appendQuery({{"imei=", imei},
                 {"ua=", ua},
                 {"lan=", lan},
                 {"chan=", chan},
                 {"uid=", uid},
                 {"ver=", ver}});
}

void UrlMaker::defKeywordsAndUidReqAssemble(QString imei, QString ua, QString lan, QString chan,
                                            QString uid, QString ver, QString openflag)
{
    appendQuery({{"imei=", imei},
                 {"ua=", ua},
                 {"lan=", lan},
                 {"chan=", chan},
                 {"uid=", uid},
                 {"ver=", ver},
                 {"openflag=", openflag}});
}

void UrlMaker::myAccountReqAssemble(QString ua, QString lan, QString chan, QString uid, QString ver,
                                    QString imei)
{
    appendQuery({{"ua=", ua},
                 {"lan=", lan},
                 {"chan=", chan},
                 {"uid=", uid},
                 {"ver=", ver},
                 {"imei=", imei}});
}

void UrlMaker::myAccountAndUidReqAssemble(QString ua, QString lan, QString chan, QString uid,
                                          QString ver, QString imei, QString openflag)
{
    appendQuery({{"ua=", ua},
                 {"lan=", lan},
                 {"chan=", chan},
                 {"uid=", uid},
                 {"ver=", ver},
                 {"imei=", imei},
                 {"openflag=", openflag}});
}

void UrlMaker::downLoadReqAssemble(QString uid, QString imei, QString cid, QString width,
                                   QString height, QString ua, QString lan, QString chan,
                                   QString ver)
{
    appendQuery({{"uid=", uid},
                 {"imei=", imei},
                 {"cid=", cid},
                 {"width=", width},
                 {"height=", height},
                 {"ua=", ua},
                 {"lan=", lan},
                 {"chan=", chan},
                 {"ver=", ver}});
}

void UrlMaker::downLoadReqAssembleEx(QString pid, QString sid, QString uid, QString cid,
                                     QString width, QString height, QString ua, QString lan,
                                     QString chan, QString ver, QString imei)
{
    appendQuery({{"pid=", pid},
                 {"sid=", sid},
                 {"uid=", uid},
                 {"cid=", cid},
                 {"width=", width},
                 {"height=", height},
                 {"ua=", ua},
                 {"lan=", lan},
                 {"chan=", chan},
                 {"ver=", ver},
                 {"imei=", imei}});
}

void UrlMaker::coverReqAssemble(QString id, QString resolution, QString size, QString ua,
                                QString lan, QString chan, QString uid, QString ver, QString imei)
{
    appendQuery({{"id=", id},
                 {"resolution=", resolution},
                 {"size=", size},
                 {"ua=", ua},
                 {"lan=", lan},
                 {"chan=", chan},
                 {"uid=", uid},
                 {"ver=", ver},
                 {"imei=", imei}});
}

QString UrlMaker::getUrl() const
{
    return m_allUrl;
}
