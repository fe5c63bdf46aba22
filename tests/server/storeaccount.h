#ifndef STOREACCOUNT_H
#define STOREACCOUNT_H

// A user's account as the store's account answer shows it.

#include "storeclient.h"

#include <QString>
#include <QtTest/qtestcase.h>

struct StoreAccount
{
    QString balance;
    QString bought;

    bool operator==(const StoreAccount &other) const
    {
        return balance == other.balance && bought == other.bought;
    }

    static StoreAccount of(StoreClient &client, const QString &uid)
    {
        const auto doc = client.document("/vorelreader/myaccountinfo.action?uid=" + uid);
        StoreAccount account;
        for (const XmlNode *line : doc->all("line")) {
            if (line->attr("name") == QStringLiteral("账户余额"))
                account.balance = line->attr("value");
            else if (line->attr("name") == QStringLiteral("已购图书"))
                account.bought = line->attr("value");
        }
        return account;
    }
};

// How QCOMPARE shows one.
inline char *toString(const StoreAccount &account)
{
    return qstrdup(qPrintable(account.balance + " / " + account.bought));
}

#endif // STOREACCOUNT_H
