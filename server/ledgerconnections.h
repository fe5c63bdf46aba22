#ifndef LEDGERCONNECTIONS_H
#define LEDGERCONNECTIONS_H

#include "ledgerlocation.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <memory>

// A statement prepared on one connection, kept for its next use there.
struct LedgerStatement
{
    explicit LedgerStatement(const QSqlDatabase &db) : query(db) {}

    QSqlQuery query;
    bool prepared = false;
    bool busy = false; // handed out and not given back yet
};

// The ledger's database connections, one for each thread that asks: a Qt SQL
// connection may only be used on the thread that opened it, so each is named
// after its owner and its thread, and closed when that thread ends.
class LedgerConnections
{
public:
    // file: the SQLite file, unused for PostgreSQL.
    LedgerConnections(const LedgerLocation &location, const QString &file);
    // Closes the calling thread's connection; other threads close theirs as they end.
    ~LedgerConnections();
    LedgerConnections(const LedgerConnections &) = delete;
    LedgerConnections &operator=(const LedgerConnections &) = delete;

    LedgerLocation::Kind kind() const { return m_location.kind(); }
    // This thread's connection, opened at first use. Not open, with the
    // reason in error when given, when the database cannot be reached.
    QSqlDatabase connection(QString *error = nullptr);
    // Something failed on this thread's connection: before it is handed out
    // again it is tried, and reopened when it broke (a database restart), so
    // one lost connection does not fail the thread's requests for good.
    void suspect();
    // The statement prepared on this thread's connection db, busy until the
    // caller clears that; preparing once per connection saves the database a
    // parse, and PostgreSQL two round trips, at every use.
    static std::shared_ptr<LedgerStatement> statement(const QSqlDatabase &db, const QString &sql);

private:
    QString threadName() const;
    QSqlDatabase open(const QString &name, QString *error);
    bool prepare(QSqlDatabase &db) const;

    LedgerLocation m_location;
    QString m_file;
    QString m_prefix;
};

#endif // LEDGERCONNECTIONS_H
