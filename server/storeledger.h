#ifndef STORELEDGER_H
#define STORELEDGER_H

#include "storebook.h"

#include <QHash>
#include <QString>
#include <mutex>
#include <optional>

// What the store remembers while it runs: handed-out user ids, account
// balances, open orders and the books each user has paid for. Request
// threads share one ledger, so every member takes the lock.
class StoreLedger
{
public:
    static constexpr int StartBalanceCents = 1000;

    struct Order
    {
        QString sid;
        QString pid;
        QString userKey;
        QString bookId;
        StoreBook::Charge charge = StoreBook::Free;
        int priceCents = 0;
        bool paid = false;
    };

    enum class Payment
    {
        Paid,
        AlreadyPaid,
        UnknownOrder,
        WrongKind,
        NoFunds
    };

    // The key payments are kept under: the user id, else the device id, else
    // one shared guest key.
    static QString userKey(const QString &uid, const QString &imei);

    QString allocateUid();
    // The user's open order for the book, or a new one.
    Order openOrder(const QString &userKey, const StoreBook &book);
    std::optional<Order> order(const QString &sid) const;
    // The order id of the user's paid order for the book; empty when unpaid.
    QString paidTicket(const QString &userKey, const QString &bookId) const;
    // A package link of a paid book carries its order id as the ticket.
    bool ticketOpens(const QString &ticket, const QString &bookId) const;

    // The SMS gateway reports a payment message for an SMS order.
    Payment paySms(const QString &sid);
    // The user confirmed an account order: the price leaves the balance.
    Payment payFromAccount(const QString &sid);

    int balanceCents(const QString &userKey) const;
    int booksBought(const QString &userKey) const;
    int nextMessageId();

private:
    Payment settle(Order &order);

    mutable std::mutex m_lock;
    qint64 m_uidSeed = 0;
    int m_uidCount = 0;
    int m_orderCount = 0;
    int m_messageCount = 0;
    QHash<QString, Order> m_orders;
    QHash<QString, QString> m_openOrders;             // userKey + '\n' + bookId -> sid
    QHash<QString, QHash<QString, QString>> m_bought; // userKey -> bookId -> sid
    QHash<QString, int> m_spentCents;
};

#endif // STORELEDGER_H
