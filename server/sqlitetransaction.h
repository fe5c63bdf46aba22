#ifndef SQLITETRANSACTION_H
#define SQLITETRANSACTION_H

class SqliteConnection;

// A write transaction that is rolled back unless committed, so a change
// that fails half-way, or a process killed at any point, leaves the
// database as it was before.
class SqliteTransaction
{
public:
    explicit SqliteTransaction(SqliteConnection &connection);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction &) = delete;
    SqliteTransaction &operator=(const SqliteTransaction &) = delete;

    bool isOpen() const { return m_open; }
    // False when the changes could not be made durable; they are then undone.
    bool commit();

private:
    SqliteConnection &m_connection;
    bool m_open = false;
};

#endif // SQLITETRANSACTION_H
