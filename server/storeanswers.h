#ifndef STOREANSWERS_H
#define STOREANSWERS_H

#include "storereply.h"

#include <QHash>
#include <QList>
#include <QString>

class StoreCatalogue;
class StoreLedger;
class StoreDocument;
struct StoreBook;

// The query of one request, names and values percent-decoded.
using StoreQuery = QHash<QString, QString>;

// Builds the store's answer to each request kind from the catalogue and the
// ledger. Mistakes of the caller are answered inside a well-formed document
// with "error_code" 400 and a five-digit detail in "error", over HTTP 200 so
// clients read it; only the package, cover and gateway routes use HTTP
// error statuses as well, since their callers read those. A ledger that
// cannot be read or written is the store's own fault: error_code 500 over
// HTTP 500, with nothing changed.
class StoreAnswers
{
public:
    enum Detail
    {
        NoFunds = 40201,
        NotPaid = 40301,
        MissingParameter = 40001,
        BadParameter = 40002,
        UnknownBook = 40401,
        UnknownCategory = 40402,
        UnknownOrder = 40403,
        UnknownAction = 40404,
        TooManyOrders = 42901
    };

    // The service number of the simulated carrier and the body prefix of a
    // payment message.
    static constexpr const char *SmsNumber = "10665110";
    static constexpr const char *SmsPayWord = "ZRPAY";
    static constexpr int PageSizeLimit = 100;

    StoreAnswers(const StoreCatalogue &catalogue, StoreLedger &ledger);

    // base is the store's public address for links, ending in "/": never
    // taken from the request, so a client cannot point links elsewhere.
    StoreReply library(const StoreQuery &query, const QString &base);
    StoreReply search(const StoreQuery &query);
    StoreReply keywords(const StoreQuery &query);
    StoreReply bookInfo(const StoreQuery &query);
    StoreReply login(const StoreQuery &query, const QString &base);
    StoreReply account(const StoreQuery &query);
    StoreReply download(const StoreQuery &query, const QString &base);
    StoreReply cover(const StoreQuery &query);
    StoreReply smsGateway(const StoreQuery &form);
    static StoreReply unknownAction();

    // The book a package request may fetch; otherwise null with the refusal
    // in refusal.
    const StoreBook *packageBook(const StoreQuery &query, StoreReply *refusal) const;

private:
    static StoreReply fail(const QString &root, int detail, const QString &message,
                           int status = 200);
    // The ledger could not be read or written: nothing was changed.
    static StoreReply storageFault();
    static QString param(const StoreQuery &query, const char *name);
    static bool validUid(const QString &uid);
    static QString money(int cents);
    // Resolves the user id of a store front, keyword or account request,
    // handing out a new one when the client asks with "openflag=true".
    bool resolveUid(const StoreQuery &query, QString *uid, StoreReply *refusal);
    static bool readPaging(const StoreQuery &query, int *page, int *perPage);

    void writeCatalogueBook(StoreDocument &document, const StoreBook &book, const char *type) const;
    void writePage(StoreDocument &document, const QList<int> &books, int page, int perPage,
                   const char *type) const;
    // A priced book's link carries its buyer's id and ticket; a free one's neither.
    StoreReply downloadAnswer(const StoreBook &book, const QString &uid, const QString &ticket,
                              const QString &base) const;
    StoreReply chargeAnswer(const StoreBook &book, const QString &sid, const QString &pid) const;
    StoreReply payAnswer(const StoreBook &book, const QString &sid, const QString &uid) const;
    StoreReply placeOrder(const StoreBook &book, const QString &uid, const QString &base);
    StoreReply continueOrder(const StoreBook &book, const QString &uid, const StoreQuery &query,
                             const QString &base);
    // The download answer of a book the user has paid for.
    StoreReply boughtAnswer(const StoreBook &book, const QString &uid, const QString &base) const;

    const StoreCatalogue &m_catalogue;
    StoreLedger &m_ledger;
};

#endif // STOREANSWERS_H
