#include "sqlitestatement.h"

#include <sqlite3.h>

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::prepare(sqlite3 *db, const char *sql)
{
    m_failed = sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK;
}

void SqliteStatement::bindValue(const QString &value)
{
    if (m_failed)
        return;
    const QByteArray utf8 = value.toUtf8();
    m_failed = sqlite3_bind_text(m_statement, ++m_index, utf8.constData(), int(utf8.size()),
                                 SQLITE_TRANSIENT) != SQLITE_OK;
}

void SqliteStatement::bindValue(qint64 value)
{
    if (m_failed)
        return;
    m_failed = sqlite3_bind_int64(m_statement, ++m_index, value) != SQLITE_OK;
}

bool SqliteStatement::next()
{
    if (m_failed)
        return false;
    const int result = sqlite3_step(m_statement);
    m_failed = result != SQLITE_ROW && result != SQLITE_DONE;
    return result == SQLITE_ROW;
}

bool SqliteStatement::run()
{
    while (next()) {
    }
    return !m_failed;
}

QString SqliteStatement::text(int column) const
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column));
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}
