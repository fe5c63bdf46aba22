#include "sqliteconnection.h"

#include <sqlite3.h>

namespace {
// Another process on the same ledger holds its write lock this long at most.
constexpr int BusyTimeoutMs = 5000;
} // namespace

SqliteConnection::~SqliteConnection()
{
    sqlite3_close(m_db);
}

bool SqliteConnection::open(const QString &path)
{
    sqlite3_close(m_db);
    m_db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int result = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (result != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    return true;
}

bool SqliteConnection::exec(const char *sql)
{
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SqliteConnection::isReadOnly() const
{
    return sqlite3_db_readonly(m_db, "main") == 1;
}

int SqliteConnection::changes() const
{
    return sqlite3_changes(m_db);
}

QString SqliteConnection::errorText() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
}
