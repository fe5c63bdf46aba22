#include "storeledger.h"

#include <QDateTime>

QString StoreLedger::userKey(const QString &uid, const QString &imei)
{
    if (!uid.isEmpty())
        return QStringLiteral("uid:") + uid;
    if (!imei.isEmpty())
        return QStringLiteral("imei:") + imei;
    return QStringLiteral("guest");
}

QString StoreLedger::allocateUid()
{
    std::lock_guard<std::mutex> guard(m_lock);
    // The start time in the id keeps ids of different runs apart, since
    // allocated ids are not kept across runs.
    if (m_uidSeed == 0)
        m_uidSeed = QDateTime::currentMSecsSinceEpoch();
    return QStringLiteral("zr%1x%2").arg(QString::number(m_uidSeed, 36)).arg(++m_uidCount);
}

StoreLedger::Order StoreLedger::openOrder(const QString &userKey, const StoreBook &book)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const QString slot = userKey + QLatin1Char('\n') + book.id;
    const QString existing = m_openOrders.value(slot);
    if (!existing.isEmpty() && !m_orders.value(existing).paid)
        return m_orders.value(existing);
    Order order;
    ++m_orderCount;
    order.sid = QStringLiteral("S%1").arg(m_orderCount, 6, 10, QLatin1Char('0'));
    order.pid = QStringLiteral("C%1").arg(m_orderCount, 6, 10, QLatin1Char('0'));
    order.userKey = userKey;
    order.bookId = book.id;
    order.charge = book.charge;
    order.priceCents = book.priceCents;
    m_orders.insert(order.sid, order);
    m_openOrders.insert(slot, order.sid);
    return order;
}

std::optional<StoreLedger::Order> StoreLedger::order(const QString &sid) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_orders.constFind(sid);
    if (it == m_orders.constEnd())
        return std::nullopt;
    return *it;
}

QString StoreLedger::paidTicket(const QString &userKey, const QString &bookId) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_bought.value(userKey).value(bookId);
}

bool StoreLedger::ticketOpens(const QString &ticket, const QString &bookId) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_orders.constFind(ticket);
    return it != m_orders.constEnd() && it->paid && it->bookId == bookId;
}

StoreLedger::Payment StoreLedger::paySms(const QString &sid)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_orders.find(sid);
    if (it == m_orders.end())
        return Payment::UnknownOrder;
    if (it->charge != StoreBook::Sms)
        return Payment::WrongKind;
    return settle(*it);
}

StoreLedger::Payment StoreLedger::payFromAccount(const QString &sid)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_orders.find(sid);
    if (it == m_orders.end())
        return Payment::UnknownOrder;
    if (it->charge != StoreBook::Account)
        return Payment::WrongKind;
    if (!it->paid && StartBalanceCents - m_spentCents.value(it->userKey) < it->priceCents)
        return Payment::NoFunds;
    const Payment result = settle(*it);
    if (result == Payment::Paid)
        m_spentCents[it->userKey] += it->priceCents;
    return result;
}

StoreLedger::Payment StoreLedger::settle(Order &order)
{
    if (order.paid)
        return Payment::AlreadyPaid;
    order.paid = true;
    m_bought[order.userKey].insert(order.bookId, order.sid);
    return Payment::Paid;
}

int StoreLedger::balanceCents(const QString &userKey) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return StartBalanceCents - m_spentCents.value(userKey);
}

int StoreLedger::booksBought(const QString &userKey) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return int(m_bought.value(userKey).size());
}

int StoreLedger::nextMessageId()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return ++m_messageCount;
}
