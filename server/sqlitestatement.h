#ifndef SQLITESTATEMENT_H
#define SQLITESTATEMENT_H

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// One prepared SQLite statement with its values bound in order ("?1", "?2"
// ...), finalized when it goes out of scope. Any failure, from preparing on,
// leaves it failed(): next() and run() then report false.
class SqliteStatement
{
public:
    template <typename... Values>
    SqliteStatement(sqlite3 *db, const char *sql, const Values &...values)
    {
        prepare(db, sql);
        (bindValue(values), ...);
    }
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // Steps to the next row; false at the end or on failure.
    bool next();
    // Steps to the end; false on failure.
    bool run();
    bool failed() const { return m_failed; }

    QString text(int column) const;
    qint64 integer(int column) const;

private:
    void prepare(sqlite3 *db, const char *sql);
    void bindValue(const QString &value);
    void bindValue(qint64 value);
    void bindValue(int value) { bindValue(qint64(value)); }

    sqlite3_stmt *m_statement = nullptr;
    int m_index = 0;
    bool m_failed = false;
};

#endif // SQLITESTATEMENT_H
