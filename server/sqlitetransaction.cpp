#include "sqlitetransaction.h"

#include "sqliteconnection.h"

SqliteTransaction::SqliteTransaction(SqliteConnection &connection) : m_connection(connection)
{
    // Taking the write lock at once keeps a second store process on the same
    // ledger from reading a balance that is about to change.
    m_open = m_connection.exec("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction()
{
    if (m_open)
        m_connection.exec("ROLLBACK");
}

bool SqliteTransaction::commit()
{
    if (!m_open)
        return false;
    if (!m_connection.exec("COMMIT"))
        return false; // the destructor rolls back
    m_open = false;
    return true;
}
