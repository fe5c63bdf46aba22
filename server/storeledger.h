#ifndef STORELEDGER_H
#define STORELEDGER_H

#include "ledgerlocation.h"
#include "storebook.h"

#include <QString>
#include <atomic>
#include <memory>
#include <optional>

class LedgerConnections;
class QSqlDatabase;
class QTemporaryDir;

// What the store remembers of its customers: account balances, orders,
// payments and the books each user has bought with the download ticket of
// each. It lives in a SQLite file or a PostgreSQL database, each change in
// one transaction, so a store stopped at any moment loses nothing it
// answered. Its rules are kept by the database itself (unique keys,
// conditional updates, row locks), so they hold for request threads and for
// several store processes sharing one database alike.
class StoreLedger
{
public:
    static constexpr int StartBalanceCents = 1000;
    static constexpr const char *FileName = "ledger.db";
    // The longest user id, book id or order id the ledger stores.
    static constexpr int IdLimit = 64;

    struct Limits
    {
        // An unpaid order lapses this long after it was placed.
        qint64 orderLifetimeSecs = 24 * 3600;
        // Unpaid orders one user may hold at once.
        int openOrdersPerUser = 20;
    };

    struct Order
    {
        QString sid;
        QString pid;
        QString uid;
        QString bookId;
        StoreBook::Charge charge = StoreBook::Free;
        int priceCents = 0;
        bool paid = false;
    };

    struct Account
    {
        int balanceCents = StartBalanceCents;
        int booksBought = 0;
    };

    enum class Placement
    {
        Placed,
        TooMany, // the user holds the most unpaid orders allowed
        TooLong, // a user or book id longer than IdLimit
        Failed   // the ledger could not be read or written
    };

    enum class Payment
    {
        Paid,
        AlreadyPaid,
        UnknownOrder,
        WrongKind,
        NoFunds,
        Failed // the ledger could not be read or written
    };

    StoreLedger();
    ~StoreLedger();
    StoreLedger(const StoreLedger &) = delete;
    StoreLedger &operator=(const StoreLedger &) = delete;

    // Opens the ledger, creating its tables when missing. A SQLite ledger is
    // "ledger.db" in the folder, made when missing; without a folder it is a
    // temporary file, gone when the store stops. False, with the reason,
    // when it cannot be used.
    bool open(const LedgerLocation &location, const QString &folder, const Limits &limits,
              QString *error);
    // Where the open ledger is, for the log; never with a password.
    QString place() const { return m_place; }

    // A new user id. Nothing is stored for it until it owns something: an
    // id the ledger has not met has the starting balance and no books.
    static QString allocateUid();
    // The user's unpaid order for the book at its current price, or a new
    // one in order.
    Placement openOrder(const QString &uid, const StoreBook &book, Order *order);
    // Unknown and lapsed orders, and a failing ledger, give nothing.
    std::optional<Order> order(const QString &sid) const;
    // The download ticket of a book the user bought; empty when not bought.
    QString paidTicket(const QString &uid, const QString &bookId) const;
    // A ticket opens only the book it was issued for, and only for its buyer.
    bool ticketOpens(const QString &ticket, const QString &uid, const QString &bookId) const;

    // The carrier reports a payment message for an SMS order.
    Payment paySms(const QString &sid);
    // The user confirmed their own account order: the price leaves the balance.
    Payment payFromAccount(const QString &sid, const QString &uid);

    std::optional<Account> account(const QString &uid) const;
    // Numbers the messages the SMS gateway takes, across restarts and
    // processes too; -1 when the number cannot be stored.
    qint64 nextMessageId();

private:
    bool createSchema(const QSqlDatabase &db, QString *error);
    QSqlDatabase connection() const;
    // Something failed: the connection is checked before its next use.
    template <typename Result> Result fault(Result result) const;
    // The oldest creation time of an unpaid order still standing.
    qint64 cutoff() const;
    // Whether the read worked; the order, if any, in found. Locked until the
    // end of the transaction where the database locks rows.
    bool findOrder(const QSqlDatabase &db, const QString &sid, std::optional<Order> *found) const;
    bool findTicket(const QSqlDatabase &db, const QString &uid, const QString &bookId,
                    QString *ticket) const;
    // Holds the user's changes apart from those of other processes until the
    // transaction ends.
    bool lockUser(const QSqlDatabase &db, const QString &uid) const;
    // Drops the unpaid orders that lapsed, now and then.
    void sweep(const QSqlDatabase &db);
    // Pays an order of the charge kind; uid, when given, must have placed it.
    Payment payOrder(const QString &sid, const QString &uid, StoreBook::Charge charge);
    Placement placeOrder(const QSqlDatabase &db, const QString &uid, const StoreBook &book,
                         Order *order);
    // Marks the order paid and records the payment and the purchase, inside
    // the caller's transaction.
    Payment settle(const QSqlDatabase &db, const Order &order);
    // Takes the price from the buyer's balance, then settles.
    Payment debit(const QSqlDatabase &db, const Order &order);

    std::unique_ptr<QTemporaryDir> m_scratch;
    std::unique_ptr<LedgerConnections> m_connections;
    LedgerLocation::Kind m_kind = LedgerLocation::Sqlite;
    Limits m_limits;
    QString m_place;
    std::atomic<qint64> m_lastSweep{0};
};

#endif // STORELEDGER_H
