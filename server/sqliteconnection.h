#ifndef SQLITECONNECTION_H
#define SQLITECONNECTION_H

#include <QString>

struct sqlite3;

// One open SQLite database, closed with the object. Not thread-safe on its
// own: its owner serialises the calls.
class SqliteConnection
{
public:
    SqliteConnection() = default;
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection &) = delete;
    SqliteConnection &operator=(const SqliteConnection &) = delete;

    // Opens or creates the file; ":memory:" keeps the database in memory.
    bool open(const QString &path);
    // Runs statements without values; false on the first that fails.
    bool exec(const char *sql);
    bool isReadOnly() const;
    // Rows the last INSERT, UPDATE or DELETE touched.
    int changes() const;
    // SQLite's description of the last failure.
    QString errorText() const;

    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
};

#endif // SQLITECONNECTION_H
