#include "ledgertransaction.h"

#include <QSqlQuery>

LedgerTransaction::LedgerTransaction(const QSqlDatabase &db, LedgerLocation::Kind kind) : m_db(db)
{
    // SQLite: taking the write lock at once keeps another connection, in this
    // process or another, from reading a balance that is about to change.
    // PostgreSQL locks the rows each change reads instead.
    m_open = run(kind == LedgerLocation::Sqlite ? "BEGIN IMMEDIATE" : "BEGIN");
}

LedgerTransaction::~LedgerTransaction()
{
    if (m_open)
        run("ROLLBACK");
}

bool LedgerTransaction::run(const char *sql)
{
    QSqlQuery query(m_db);
    return query.exec(QLatin1String(sql));
}

bool LedgerTransaction::commit()
{
    if (!m_open || !run("COMMIT"))
        return false; // the destructor rolls back
    m_open = false;
    return true;
}
