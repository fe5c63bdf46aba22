#ifndef STORELEDGER_H
#define STORELEDGER_H

#include "sqliteconnection.h"
#include "storebook.h"

#include <QString>
#include <mutex>
#include <optional>

// What the store remembers of its customers: the user ids it handed out,
// account balances, orders, payments and the books each user has bought
// with the download ticket of each. It lives in a SQLite file, each change in
// one transaction, so a store stopped at any moment loses nothing it
// answered. Request threads share one ledger: every member takes the lock.
class StoreLedger
{
public:
    static constexpr int StartBalanceCents = 1000;
    static constexpr const char *FileName = "ledger.db";

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

    enum class Payment
    {
        Paid,
        AlreadyPaid,
        UnknownOrder,
        WrongKind,
        NoFunds,
        Failed // the ledger could not be read or written
    };

    // Opens the ledger in the folder, creating both when missing; an empty
    // folder keeps it in memory. False, with the reason, when it cannot be used.
    bool open(const QString &folder, QString *error);

    // A new user id with a fresh account; empty when it cannot be stored.
    QString allocateUid();
    // The user's unpaid order for the book at its current price, or a new
    // one; nothing when the ledger fails.
    std::optional<Order> openOrder(const QString &uid, const StoreBook &book);
    std::optional<Order> order(const QString &sid) const;
    // The download ticket of a book the user bought; empty when not bought.
    QString paidTicket(const QString &uid, const QString &bookId) const;
    // A ticket opens only the book it was issued for, and only for its buyer.
    bool ticketOpens(const QString &ticket, const QString &uid, const QString &bookId) const;

    // The carrier reports a payment message for an SMS order.
    Payment paySms(const QString &sid);
    // The user confirmed their own account order: the price leaves the balance.
    Payment payFromAccount(const QString &sid, const QString &uid);

    // Users the ledger has not met yet have the starting balance.
    std::optional<Account> account(const QString &uid) const;
    // Numbers the messages the SMS gateway takes, across restarts too; -1
    // when the number cannot be stored.
    qint64 nextMessageId();

private:
    bool createSchema(QString *error);
    std::optional<Order> findOrder(const QString &sid) const;
    QString findTicket(const QString &uid, const QString &bookId) const;
    // Marks the order paid and records the payment and the purchase, inside
    // the caller's transaction.
    Payment settle(const Order &order);

    mutable std::mutex m_lock;
    SqliteConnection m_db;
};

#endif // STORELEDGER_H
