#include "storeledger.h"

#include "randomid.h"
#include "sqlitestatement.h"
#include "sqlitetransaction.h"

#include <QDateTime>
#include <QDir>

namespace {
constexpr qint64 SchemaVersion = 1;

// At most one unpaid order per user and book; at most one purchase too, so
// a book is never charged twice.
const char *const Schema = R"(
CREATE TABLE IF NOT EXISTS accounts (
    uid TEXT PRIMARY KEY,
    balance_cents INTEGER NOT NULL CHECK (balance_cents >= 0),
    created INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS orders (
    sid TEXT PRIMARY KEY,
    pid TEXT NOT NULL UNIQUE,
    uid TEXT NOT NULL,
    book_id TEXT NOT NULL,
    charge INTEGER NOT NULL,
    price_cents INTEGER NOT NULL,
    paid INTEGER NOT NULL DEFAULT 0,
    created INTEGER NOT NULL);
CREATE UNIQUE INDEX IF NOT EXISTS orders_open ON orders (uid, book_id) WHERE paid = 0;
CREATE TABLE IF NOT EXISTS payments (
    id INTEGER PRIMARY KEY,
    sid TEXT NOT NULL REFERENCES orders (sid),
    charge INTEGER NOT NULL,
    amount_cents INTEGER NOT NULL,
    paid_at INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS purchases (
    uid TEXT NOT NULL,
    book_id TEXT NOT NULL,
    ticket TEXT NOT NULL UNIQUE,
    sid TEXT NOT NULL REFERENCES orders (sid),
    bought_at INTEGER NOT NULL,
    PRIMARY KEY (uid, book_id));
CREATE TABLE IF NOT EXISTS counters (
    name TEXT PRIMARY KEY,
    value INTEGER NOT NULL);
)";

const char *const OrderColumns = "SELECT sid, pid, uid, book_id, charge, price_cents, paid "
                                 "FROM orders WHERE ";

qint64 now()
{
    return QDateTime::currentSecsSinceEpoch();
}

StoreLedger::Order readOrder(const SqliteStatement &row)
{
    StoreLedger::Order order;
    order.sid = row.text(0);
    order.pid = row.text(1);
    order.uid = row.text(2);
    order.bookId = row.text(3);
    order.charge = StoreBook::Charge(row.integer(4));
    order.priceCents = int(row.integer(5));
    order.paid = row.integer(6) != 0;
    return order;
}
} // namespace

bool StoreLedger::open(const QString &folder, QString *error)
{
    std::lock_guard<std::mutex> guard(m_lock);
    QString path = QStringLiteral(":memory:");
    if (!folder.isEmpty()) {
        if (!QDir().mkpath(folder)) {
            *error = QStringLiteral("cannot make the data folder \"%1\"").arg(folder);
            return false;
        }
        path = QDir(folder).filePath(QLatin1String(FileName));
    }
    if (!m_db.open(path) || !createSchema(error)) {
        if (error->isEmpty())
            *error = m_db.errorText();
        *error = QStringLiteral("cannot use the ledger \"%1\": %2").arg(path, *error);
        return false;
    }
    return true;
}

bool StoreLedger::createSchema(QString *error)
{
    // WAL keeps readers going while a payment is written; FULL makes every
    // commit durable before the answer leaves.
    if (!m_db.exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL; "
                   "PRAGMA foreign_keys = ON;"))
        return false;
    SqliteStatement version(m_db.handle(), "PRAGMA user_version");
    if (!version.next())
        return false;
    if (version.integer(0) > SchemaVersion) {
        *error = QStringLiteral("written by a newer store");
        return false;
    }
    if (m_db.isReadOnly()) {
        *error = QStringLiteral("read-only");
        return false;
    }
    SqliteTransaction transaction(m_db);
    const QByteArray setVersion = "PRAGMA user_version = " + QByteArray::number(SchemaVersion);
    return m_db.exec(Schema) && m_db.exec(setVersion.constData()) && transaction.commit();
}

QString StoreLedger::allocateUid()
{
    std::lock_guard<std::mutex> guard(m_lock);
    const QString uid = RandomId::make();
    SqliteStatement insert(m_db.handle(),
                           "INSERT INTO accounts (uid, balance_cents, created) VALUES (?1, ?2, ?3)",
                           uid, StartBalanceCents, now());
    return insert.run() ? uid : QString();
}

std::optional<StoreLedger::Order> StoreLedger::findOrder(const QString &sid) const
{
    SqliteStatement query(m_db.handle(), (QByteArray(OrderColumns) + "sid = ?1").constData(), sid);
    if (!query.next())
        return std::nullopt;
    return readOrder(query);
}

QString StoreLedger::findTicket(const QString &uid, const QString &bookId) const
{
    SqliteStatement query(
        m_db.handle(), "SELECT ticket FROM purchases WHERE uid = ?1 AND book_id = ?2", uid, bookId);
    return query.next() ? query.text(0) : QString();
}

std::optional<StoreLedger::Order> StoreLedger::openOrder(const QString &uid, const StoreBook &book)
{
    std::lock_guard<std::mutex> guard(m_lock);
    SqliteTransaction transaction(m_db);
    if (!transaction.isOpen())
        return std::nullopt;
    std::optional<Order> open;
    {
        SqliteStatement query(
            m_db.handle(),
            (QByteArray(OrderColumns) + "uid = ?1 AND book_id = ?2 AND paid = 0").constData(), uid,
            book.id);
        if (query.next())
            open = readOrder(query);
    }
    if (open && open->charge == book.charge && open->priceCents == book.priceCents)
        return open;
    // The book's price changed since the offer: the old offer goes.
    if (open &&
        !SqliteStatement(m_db.handle(), "DELETE FROM orders WHERE sid = ?1", open->sid).run())
        return std::nullopt;
    Order order;
    order.sid = RandomId::make();
    order.pid = RandomId::make();
    order.uid = uid;
    order.bookId = book.id;
    order.charge = book.charge;
    order.priceCents = book.priceCents;
    SqliteStatement insert(m_db.handle(),
                           "INSERT INTO orders (sid, pid, uid, book_id, charge, price_cents, paid, "
                           "created) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 0, ?7)",
                           order.sid, order.pid, uid, book.id, int(book.charge), book.priceCents,
                           now());
    if (!insert.run() || !transaction.commit())
        return std::nullopt;
    return order;
}

std::optional<StoreLedger::Order> StoreLedger::order(const QString &sid) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return findOrder(sid);
}

QString StoreLedger::paidTicket(const QString &uid, const QString &bookId) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return findTicket(uid, bookId);
}

bool StoreLedger::ticketOpens(const QString &ticket, const QString &uid,
                              const QString &bookId) const
{
    if (ticket.isEmpty() || uid.isEmpty())
        return false;
    std::lock_guard<std::mutex> guard(m_lock);
    SqliteStatement query(m_db.handle(),
                          "SELECT 1 FROM purchases WHERE ticket = ?1 AND uid = ?2 AND book_id = ?3",
                          ticket, uid, bookId);
    return query.next();
}

StoreLedger::Payment StoreLedger::settle(const Order &order)
{
    // Bought through another order meanwhile: this one is not charged.
    if (order.paid || !findTicket(order.uid, order.bookId).isEmpty())
        return Payment::AlreadyPaid;
    sqlite3 *db = m_db.handle();
    const bool recorded =
        SqliteStatement(db, "UPDATE orders SET paid = 1 WHERE sid = ?1", order.sid).run() &&
        SqliteStatement(db,
                        "INSERT INTO payments (sid, charge, amount_cents, paid_at) "
                        "VALUES (?1, ?2, ?3, ?4)",
                        order.sid, int(order.charge), order.priceCents, now())
            .run() &&
        SqliteStatement(db,
                        "INSERT INTO purchases (uid, book_id, ticket, sid, bought_at) "
                        "VALUES (?1, ?2, ?3, ?4, ?5)",
                        order.uid, order.bookId, RandomId::make(), order.sid, now())
            .run();
    return recorded ? Payment::Paid : Payment::Failed;
}

StoreLedger::Payment StoreLedger::paySms(const QString &sid)
{
    std::lock_guard<std::mutex> guard(m_lock);
    SqliteTransaction transaction(m_db);
    if (!transaction.isOpen())
        return Payment::Failed;
    const std::optional<Order> order = findOrder(sid);
    if (!order)
        return Payment::UnknownOrder;
    if (order->charge != StoreBook::Sms)
        return Payment::WrongKind;
    const Payment result = settle(*order);
    if (result == Payment::Paid && !transaction.commit())
        return Payment::Failed;
    return result;
}

StoreLedger::Payment StoreLedger::payFromAccount(const QString &sid, const QString &uid)
{
    std::lock_guard<std::mutex> guard(m_lock);
    SqliteTransaction transaction(m_db);
    if (!transaction.isOpen())
        return Payment::Failed;
    const std::optional<Order> order = findOrder(sid);
    if (!order || order->uid != uid)
        return Payment::UnknownOrder;
    if (order->charge != StoreBook::Account)
        return Payment::WrongKind;
    if (order->paid || !findTicket(uid, order->bookId).isEmpty())
        return Payment::AlreadyPaid;
    sqlite3 *db = m_db.handle();
    // A user the ledger has not met yet starts with the usual balance.
    if (!SqliteStatement(db,
                         "INSERT OR IGNORE INTO accounts (uid, balance_cents, created) "
                         "VALUES (?1, ?2, ?3)",
                         uid, StartBalanceCents, now())
             .run())
        return Payment::Failed;
    if (!SqliteStatement(db,
                         "UPDATE accounts SET balance_cents = balance_cents - ?2 "
                         "WHERE uid = ?1 AND balance_cents >= ?2",
                         uid, order->priceCents)
             .run())
        return Payment::Failed;
    if (m_db.changes() != 1)
        return Payment::NoFunds;
    const Payment result = settle(*order);
    if (result != Payment::Paid)
        return result; // the debit is rolled back with the transaction
    return transaction.commit() ? Payment::Paid : Payment::Failed;
}

std::optional<StoreLedger::Account> StoreLedger::account(const QString &uid) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    Account account;
    SqliteStatement balance(m_db.handle(), "SELECT balance_cents FROM accounts WHERE uid = ?1",
                            uid);
    if (balance.next())
        account.balanceCents = int(balance.integer(0));
    SqliteStatement bought(m_db.handle(), "SELECT count(*) FROM purchases WHERE uid = ?1", uid);
    if (balance.failed() || !bought.next())
        return std::nullopt;
    account.booksBought = int(bought.integer(0));
    return account;
}

qint64 StoreLedger::nextMessageId()
{
    std::lock_guard<std::mutex> guard(m_lock);
    SqliteStatement count(m_db.handle(),
                          "INSERT INTO counters (name, value) VALUES ('messages', 1) "
                          "ON CONFLICT (name) DO UPDATE SET value = value + 1 RETURNING value");
    if (!count.next())
        return -1;
    const qint64 id = count.integer(0);
    return count.run() ? id : -1;
}
