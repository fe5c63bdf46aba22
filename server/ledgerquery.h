#ifndef LEDGERQUERY_H
#define LEDGERQUERY_H

#include "ledgerconnections.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <memory>

// One ledger statement with its values bound in order ("?" marks), run at
// once. Values are never written into the text, whatever they hold.
class LedgerQuery
{
public:
    template <typename... Values>
    LedgerQuery(const QSqlDatabase &db, const QString &sql, const Values &...values)
    {
        // PostgreSQL prepares no schema statements; nothing to bind anyway.
        if constexpr (sizeof...(values) == 0) {
            m_statement = std::make_shared<LedgerStatement>(db);
            m_ok = m_statement->query.exec(sql);
        } else {
            m_statement = LedgerConnections::statement(db, sql);
            int index = 0;
            (m_statement->query.bindValue(index++, QVariant::fromValue(values)), ...);
            m_ok = m_statement->prepared && m_statement->query.exec();
        }
    }
    // Gives the statement back, its rows dropped: a SQLite statement left
    // stepping would hold its read lock.
    ~LedgerQuery();
    LedgerQuery(const LedgerQuery &) = delete;
    LedgerQuery &operator=(const LedgerQuery &) = delete;

    bool ok() const { return m_ok; }
    // Steps to the next row; false at the end or when the statement failed.
    bool next() { return m_ok && m_statement->query.next(); }
    // Rows an INSERT, UPDATE or DELETE touched; -1 when it failed.
    int changes() const { return m_ok ? m_statement->query.numRowsAffected() : -1; }

    QString text(int column) const { return m_statement->query.value(column).toString(); }
    qint64 integer(int column) const { return m_statement->query.value(column).toLongLong(); }
    QString errorText() const;

private:
    std::shared_ptr<LedgerStatement> m_statement;
    bool m_ok = false;
};

#endif // LEDGERQUERY_H
