#include "ledgerquery.h"

#include <QSqlError>

LedgerQuery::~LedgerQuery()
{
    m_statement->query.finish();
    m_statement->busy = false;
}

QString LedgerQuery::errorText() const
{
    return m_statement->query.lastError().text();
}
