#ifndef LEDGERTRANSACTION_H
#define LEDGERTRANSACTION_H

#include "ledgerlocation.h"

#include <QSqlDatabase>

// A write transaction that is rolled back unless committed, so a change that
// fails half-way, or a process killed at any point, leaves the ledger as it
// was before.
class LedgerTransaction
{
public:
    LedgerTransaction(const QSqlDatabase &db, LedgerLocation::Kind kind);
    ~LedgerTransaction();
    LedgerTransaction(const LedgerTransaction &) = delete;
    LedgerTransaction &operator=(const LedgerTransaction &) = delete;

    bool isOpen() const { return m_open; }
    // False when the changes could not be made durable; they are then undone.
    bool commit();

private:
    bool run(const char *sql);

    QSqlDatabase m_db;
    bool m_open = false;
};

#endif // LEDGERTRANSACTION_H
