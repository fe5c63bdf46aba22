#ifndef STORESHOPPER_H
#define STORESHOPPER_H

// A buyer at the store's front door: signs up, buys books paid from the
// account, and reads what the account says.

#include "storeclient.h"

#include <QString>
#include <QUrl>

class StoreShopper
{
public:
    explicit StoreShopper(StoreClient &client) : m_client(client) {}

    QString signUp()
    {
        return m_client.document("/vorelreader/userlogin.action?imei=1&abver=2.0.0&")
            ->childText("uid");
    }

    // Orders the book and confirms the payment; the package link, or empty.
    QString buy(const QString &uid, const QString &id)
    {
        const QString order =
            "/vorelreader/download.action?uid=" + uid + "&cid=" + QUrl::toPercentEncoding(id);
        const QString sid = m_client.document(order)->attr("sid");
        if (sid.isEmpty())
            return QString();
        return m_client.document(order + "&sid=" + sid)->childText("link");
    }

    // "balance / books bought", as the account answer words them.
    QString account(const QString &uid)
    {
        const auto doc = m_client.document("/vorelreader/myaccountinfo.action?uid=" + uid);
        QStringList values;
        for (const XmlNode *line : doc->all("line"))
            values << line->attr("value");
        return values.join(" / ");
    }

    // The target of a link the store handed out, for the same client.
    QString target(const QString &link) const { return link.mid(m_client.url("").size()); }

private:
    StoreClient &m_client;
};

#endif // STORESHOPPER_H
