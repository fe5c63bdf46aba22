#include "storeledger.h"

#include "ledgerconnections.h"
#include "ledgerquery.h"
#include "ledgertransaction.h"
#include "randomid.h"

#include <QDateTime>
#include <QDir>
#include <QSqlDatabase>
#include <QTemporaryDir>

namespace {
constexpr qint64 SchemaVersion = 2;
// Lapsed orders of users who never come back are dropped this often.
constexpr qint64 SweepIntervalSecs = 60;
// Any number: the PostgreSQL lock held while the tables are made.
constexpr qint64 SchemaLockKey = 0x7a61727673746f;

// At most one unpaid order per user and book, at most one payment per order
// and one purchase per user and book, so a book is never charged twice; no
// id longer than the ledger takes. "{key}" is the payments' own key, "{limit}"
// the longest id.
const char *const Schema[] = {
    R"(CREATE TABLE IF NOT EXISTS accounts (
    uid TEXT PRIMARY KEY CHECK (length(uid) BETWEEN 1 AND {limit}),
    balance_cents INTEGER NOT NULL CHECK (balance_cents >= 0),
    created BIGINT NOT NULL))",
    R"(CREATE TABLE IF NOT EXISTS orders (
    sid TEXT PRIMARY KEY CHECK (length(sid) BETWEEN 1 AND {limit}),
    pid TEXT NOT NULL UNIQUE CHECK (length(pid) BETWEEN 1 AND {limit}),
    uid TEXT NOT NULL CHECK (length(uid) BETWEEN 1 AND {limit}),
    book_id TEXT NOT NULL CHECK (length(book_id) BETWEEN 1 AND {limit}),
    charge INTEGER NOT NULL,
    price_cents INTEGER NOT NULL CHECK (price_cents >= 0),
    paid INTEGER NOT NULL DEFAULT 0,
    created BIGINT NOT NULL))",
    "CREATE UNIQUE INDEX IF NOT EXISTS orders_open ON orders (uid, book_id) WHERE paid = 0",
    "CREATE INDEX IF NOT EXISTS orders_age ON orders (created) WHERE paid = 0",
    R"(CREATE TABLE IF NOT EXISTS payments (
    id {key},
    sid TEXT NOT NULL REFERENCES orders (sid),
    charge INTEGER NOT NULL,
    amount_cents INTEGER NOT NULL,
    paid_at BIGINT NOT NULL))",
    "CREATE UNIQUE INDEX IF NOT EXISTS payments_once ON payments (sid)",
    R"(CREATE TABLE IF NOT EXISTS purchases (
    uid TEXT NOT NULL CHECK (length(uid) BETWEEN 1 AND {limit}),
    book_id TEXT NOT NULL CHECK (length(book_id) BETWEEN 1 AND {limit}),
    ticket TEXT NOT NULL UNIQUE,
    sid TEXT NOT NULL REFERENCES orders (sid),
    bought_at BIGINT NOT NULL,
    PRIMARY KEY (uid, book_id)))",
    "CREATE TABLE IF NOT EXISTS counters (name TEXT PRIMARY KEY, value BIGINT NOT NULL)",
};

const QString OrderColumns = QStringLiteral("SELECT sid, pid, uid, book_id, charge, price_cents, "
                                            "paid FROM orders WHERE ");

qint64 now()
{
    return QDateTime::currentSecsSinceEpoch();
}

bool fits(const QString &id)
{
    return !id.isEmpty() && id.size() <= StoreLedger::IdLimit;
}

// Whether a step of setting up worked; why not in error.
bool runStep(const LedgerQuery &step, QString *error)
{
    if (step.ok())
        return true;
    *error = step.errorText();
    return false;
}

StoreLedger::Order readOrder(const LedgerQuery &row)
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

StoreLedger::StoreLedger() = default;

StoreLedger::~StoreLedger() = default;

bool StoreLedger::open(const LedgerLocation &location, const QString &folder, const Limits &limits,
                       QString *error)
{
    m_kind = location.kind();
    m_limits = limits;
    m_place = location.describe();
    QString file;
    if (m_kind == LedgerLocation::Sqlite) {
        QString dir = folder;
        if (dir.isEmpty()) {
            m_scratch = std::make_unique<QTemporaryDir>();
            dir = m_scratch->path();
        }
        if (!QDir().mkpath(dir)) {
            *error = QStringLiteral("cannot make the data folder \"%1\"").arg(dir);
            return false;
        }
        file = QDir(dir).filePath(QLatin1String(FileName));
        m_place = QLatin1Char('"') + file + QLatin1Char('"');
        if (m_scratch)
            m_place += QStringLiteral(", lost when the store stops");
    }
    m_connections = std::make_unique<LedgerConnections>(location, file);
    const QSqlDatabase db = m_connections->connection(error);
    if (!db.isOpen() || !createSchema(db, error)) {
        *error = QStringLiteral("cannot use the ledger %1: %2").arg(m_place, *error);
        return false;
    }
    sweep(db);
    return true;
}

bool StoreLedger::createSchema(const QSqlDatabase &db, QString *error)
{
    const bool sqlite = m_kind == LedgerLocation::Sqlite;
    // WAL keeps readers going while a payment is written; it stays with the file.
    if (sqlite && !runStep(LedgerQuery(db, QStringLiteral("PRAGMA journal_mode = WAL")), error))
        return false;
    LedgerTransaction transaction(db, m_kind);
    if (!transaction.isOpen()) {
        *error = QStringLiteral("cannot write");
        return false;
    }
    // Two stores starting at once on one database make the tables once.
    if (!sqlite &&
        !runStep(LedgerQuery(db, QStringLiteral("SELECT pg_advisory_xact_lock(?)"), SchemaLockKey),
                 error))
        return false;
    const QString key =
        sqlite ? QStringLiteral("INTEGER PRIMARY KEY") : QStringLiteral("BIGSERIAL PRIMARY KEY");
    for (const char *statement : Schema) {
        QString sql = QString::fromLatin1(statement);
        sql.replace(QLatin1String("{key}"), key);
        sql.replace(QLatin1String("{limit}"), QString::number(IdLimit));
        if (!runStep(LedgerQuery(db, sql), error))
            return false;
    }
    if (!runStep(LedgerQuery(db,
                             QStringLiteral("INSERT INTO counters (name, value) "
                                            "VALUES ('schema', ?) ON CONFLICT DO NOTHING"),
                             SchemaVersion),
                 error))
        return false;
    qint64 version = 0;
    {
        LedgerQuery read(db, QStringLiteral("SELECT value FROM counters WHERE name = 'schema'"));
        if (!read.next()) {
            *error = read.ok() ? QStringLiteral("no schema version") : read.errorText();
            return false;
        }
        version = read.integer(0);
    }
    if (version > SchemaVersion) {
        *error = QStringLiteral("written by a newer store");
        return false;
    }
    if (!transaction.commit()) {
        *error = QStringLiteral("cannot commit");
        return false;
    }
    return true;
}

QSqlDatabase StoreLedger::connection() const
{
    return m_connections->connection();
}

template <typename Result> Result StoreLedger::fault(Result result) const
{
    m_connections->suspect();
    return result;
}

qint64 StoreLedger::cutoff() const
{
    return now() - m_limits.orderLifetimeSecs;
}

QString StoreLedger::allocateUid()
{
    return RandomId::make();
}

bool StoreLedger::findOrder(const QSqlDatabase &db, const QString &sid,
                            std::optional<Order> *found) const
{
    // No order id is that long: not worth a look.
    if (!fits(sid))
        return true;
    QString sql = OrderColumns + QStringLiteral("sid = ? AND (paid = 1 OR created >= ?)");
    if (m_kind == LedgerLocation::PostgreSql)
        sql += QStringLiteral(" FOR UPDATE");
    LedgerQuery query(db, sql, sid, cutoff());
    if (query.next())
        *found = readOrder(query);
    return query.ok();
}

bool StoreLedger::findTicket(const QSqlDatabase &db, const QString &uid, const QString &bookId,
                             QString *ticket) const
{
    LedgerQuery query(db,
                      QStringLiteral("SELECT ticket FROM purchases WHERE uid = ? AND book_id = ?"),
                      uid, bookId);
    if (query.next())
        *ticket = query.text(0);
    return query.ok();
}

bool StoreLedger::lockUser(const QSqlDatabase &db, const QString &uid) const
{
    // SQLite's transactions already hold the whole ledger.
    if (m_kind == LedgerLocation::Sqlite)
        return true;
    return LedgerQuery(db, QStringLiteral("SELECT pg_advisory_xact_lock(hashtextextended(?, 0))"),
                       uid)
        .ok();
}

void StoreLedger::sweep(const QSqlDatabase &db)
{
    qint64 last = m_lastSweep;
    const qint64 time = now();
    if (time - last < SweepIntervalSecs || !m_lastSweep.compare_exchange_strong(last, time))
        return;
    LedgerQuery(db, QStringLiteral("DELETE FROM orders WHERE paid = 0 AND created < ?"), cutoff());
}

StoreLedger::Placement StoreLedger::openOrder(const QString &uid, const StoreBook &book,
                                              Order *order)
{
    if (!fits(uid) || !fits(book.id))
        return Placement::TooLong;
    const QSqlDatabase db = connection();
    if (!db.isOpen())
        return fault(Placement::Failed);
    sweep(db);
    LedgerTransaction transaction(db, m_kind);
    if (!transaction.isOpen() || !lockUser(db, uid))
        return fault(Placement::Failed);
    const Placement placed = placeOrder(db, uid, book, order);
    if (placed != Placement::Placed)
        return placed == Placement::Failed ? fault(placed) : placed;
    return transaction.commit() ? placed : fault(Placement::Failed);
}

StoreLedger::Placement StoreLedger::placeOrder(const QSqlDatabase &db, const QString &uid,
                                               const StoreBook &book, Order *order)
{
    // The user's lapsed offers go first, so they neither stand in the way of
    // a new one nor count against the cap.
    if (!LedgerQuery(
             db, QStringLiteral("DELETE FROM orders WHERE uid = ? AND paid = 0 AND created < ?"),
             uid, cutoff())
             .ok())
        return Placement::Failed;
    std::optional<Order> open;
    qint64 openCount = 0;
    {
        LedgerQuery query(db, OrderColumns + QStringLiteral("uid = ? AND paid = 0"), uid);
        while (query.next()) {
            ++openCount;
            if (query.text(3) == book.id)
                open = readOrder(query);
        }
        if (!query.ok())
            return Placement::Failed;
    }
    if (open && open->charge == book.charge && open->priceCents == book.priceCents) {
        *order = *open;
        return Placement::Placed;
    }
    if (!open && openCount >= m_limits.openOrdersPerUser)
        return Placement::TooMany;
    // The book's price changed since the offer: the old offer goes.
    if (open &&
        LedgerQuery(db, QStringLiteral("DELETE FROM orders WHERE sid = ? AND paid = 0"), open->sid)
                .changes() != 1)
        return Placement::Failed;
    *order = Order{RandomId::make(), RandomId::make(), uid,  book.id,
                   book.charge,      book.priceCents,  false};
    const bool stored =
        LedgerQuery(db,
                    QStringLiteral("INSERT INTO orders (sid, pid, uid, book_id, charge, "
                                   "price_cents, paid, created) VALUES (?, ?, ?, ?, ?, ?, 0, ?)"),
                    order->sid, order->pid, uid, book.id, int(book.charge), book.priceCents, now())
            .ok();
    return stored ? Placement::Placed : Placement::Failed;
}

std::optional<StoreLedger::Order> StoreLedger::order(const QString &sid) const
{
    std::optional<Order> found;
    const QSqlDatabase db = connection();
    if (!db.isOpen() || !findOrder(db, sid, &found))
        return fault(std::optional<Order>());
    return found;
}

QString StoreLedger::paidTicket(const QString &uid, const QString &bookId) const
{
    QString ticket;
    const QSqlDatabase db = connection();
    if (!db.isOpen() || !findTicket(db, uid, bookId, &ticket))
        return fault(QString());
    return ticket;
}

bool StoreLedger::ticketOpens(const QString &ticket, const QString &uid,
                              const QString &bookId) const
{
    if (!fits(ticket) || !fits(uid))
        return false;
    const QSqlDatabase db = connection();
    if (!db.isOpen())
        return fault(false);
    LedgerQuery query(
        db, QStringLiteral("SELECT 1 FROM purchases WHERE ticket = ? AND uid = ? AND book_id = ?"),
        ticket, uid, bookId);
    if (query.next())
        return true;
    return query.ok() ? false : fault(false);
}

StoreLedger::Payment StoreLedger::settle(const QSqlDatabase &db, const Order &order)
{
    QString ticket;
    if (!findTicket(db, order.uid, order.bookId, &ticket))
        return Payment::Failed;
    // Bought through another order meanwhile: this one is not charged.
    if (order.paid || !ticket.isEmpty())
        return Payment::AlreadyPaid;
    // Only the first of two confirmations seen at once turns the order paid.
    const int marked =
        LedgerQuery(db, QStringLiteral("UPDATE orders SET paid = 1 WHERE sid = ? AND paid = 0"),
                    order.sid)
            .changes();
    if (marked != 1)
        return marked == 0 ? Payment::AlreadyPaid : Payment::Failed;
    const qint64 time = now();
    const bool recorded =
        LedgerQuery(db,
                    QStringLiteral("INSERT INTO payments (sid, charge, amount_cents, paid_at) "
                                   "VALUES (?, ?, ?, ?)"),
                    order.sid, int(order.charge), order.priceCents, time)
            .ok() &&
        LedgerQuery(db,
                    QStringLiteral("INSERT INTO purchases (uid, book_id, ticket, sid, bought_at) "
                                   "VALUES (?, ?, ?, ?, ?)"),
                    order.uid, order.bookId, RandomId::make(), order.sid, time)
            .ok();
    return recorded ? Payment::Paid : Payment::Failed;
}

StoreLedger::Payment StoreLedger::paySms(const QString &sid)
{
    return payOrder(sid, QString(), StoreBook::Sms);
}

StoreLedger::Payment StoreLedger::payFromAccount(const QString &sid, const QString &uid)
{
    return payOrder(sid, uid, StoreBook::Account);
}

StoreLedger::Payment StoreLedger::payOrder(const QString &sid, const QString &uid,
                                           StoreBook::Charge charge)
{
    const QSqlDatabase db = connection();
    if (!db.isOpen())
        return fault(Payment::Failed);
    LedgerTransaction transaction(db, m_kind);
    std::optional<Order> order;
    if (!transaction.isOpen() || !findOrder(db, sid, &order))
        return fault(Payment::Failed);
    if (!order || (!uid.isEmpty() && order->uid != uid))
        return Payment::UnknownOrder;
    if (order->charge != charge)
        return Payment::WrongKind;
    const Payment result = charge == StoreBook::Account ? debit(db, *order) : settle(db, *order);
    if (result == Payment::Failed || (result == Payment::Paid && !transaction.commit()))
        return fault(Payment::Failed);
    return result; // anything else is rolled back with the transaction
}

StoreLedger::Payment StoreLedger::debit(const QSqlDatabase &db, const Order &order)
{
    QString ticket;
    if (!findTicket(db, order.uid, order.bookId, &ticket))
        return Payment::Failed;
    if (order.paid || !ticket.isEmpty())
        return Payment::AlreadyPaid;
    // A user the ledger has not met yet starts with the usual balance.
    if (!LedgerQuery(db,
                     QStringLiteral("INSERT INTO accounts (uid, balance_cents, created) "
                                    "VALUES (?, ?, ?) ON CONFLICT DO NOTHING"),
                     order.uid, StartBalanceCents, now())
             .ok())
        return Payment::Failed;
    // Checked and taken in one step, so two debits at once cannot both pass.
    const int debited = LedgerQuery(db,
                                    QStringLiteral("UPDATE accounts SET balance_cents = "
                                                   "balance_cents - ? WHERE uid = ? AND "
                                                   "balance_cents >= ?"),
                                    order.priceCents, order.uid, order.priceCents)
                            .changes();
    if (debited != 1)
        return debited == 0 ? Payment::NoFunds : Payment::Failed;
    return settle(db, order);
}

std::optional<StoreLedger::Account> StoreLedger::account(const QString &uid) const
{
    Account account;
    const QSqlDatabase db = connection();
    if (!db.isOpen())
        return fault(std::optional<Account>());
    LedgerQuery balance(db, QStringLiteral("SELECT balance_cents FROM accounts WHERE uid = ?"),
                        uid);
    if (balance.next())
        account.balanceCents = int(balance.integer(0));
    LedgerQuery bought(db, QStringLiteral("SELECT count(*) FROM purchases WHERE uid = ?"), uid);
    if (!balance.ok() || !bought.next())
        return fault(std::optional<Account>());
    account.booksBought = int(bought.integer(0));
    return account;
}

qint64 StoreLedger::nextMessageId()
{
    const QSqlDatabase db = connection();
    if (!db.isOpen())
        return fault(qint64(-1));
    LedgerTransaction transaction(db, m_kind);
    qint64 id = -1;
    {
        LedgerQuery count(db, QStringLiteral("INSERT INTO counters (name, value) "
                                             "VALUES ('messages', 1) ON CONFLICT (name) "
                                             "DO UPDATE SET value = counters.value + 1 "
                                             "RETURNING value"));
        if (count.next())
            id = count.integer(0);
    }
    if (id < 0 || !transaction.commit())
        return fault(qint64(-1));
    return id;
}
