#include "ledgerconnections.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QThread>
#include <atomic>

namespace {
// Another connection holds SQLite's write lock this long at most.
const char *const SqliteOptions = "QSQLITE_BUSY_TIMEOUT=5000";
// An unreachable PostgreSQL server fails a request instead of hanging it.
const char *const PostgreSqlOptions = "connect_timeout=5;application_name=zarvostore";

// The connections opened on this thread, removed on it as it ends.
struct ThreadConnections
{
    QStringList names;
    QSet<QString> suspects;
    // By connection name, then by text.
    QHash<QString, QHash<QString, std::shared_ptr<LedgerStatement>>> statements;
    ~ThreadConnections()
    {
        statements.clear(); // before their connections go
        for (const QString &name : names)
            QSqlDatabase::removeDatabase(name);
    }
};
thread_local ThreadConnections threadConnections;

void forget(const QString &name)
{
    threadConnections.suspects.remove(name);
    threadConnections.statements.remove(name);
    if (!threadConnections.names.removeOne(name))
        return;
    QSqlDatabase::removeDatabase(name);
}

bool stillWorks(const QString &name)
{
    QSqlQuery probe(QSqlDatabase::database(name, false));
    return probe.exec(QStringLiteral("SELECT 1"));
}
} // namespace

LedgerConnections::LedgerConnections(const LedgerLocation &location, const QString &file)
    : m_location(location), m_file(file)
{
    static std::atomic<int> serial{0};
    m_prefix = QStringLiteral("ledger-%1-").arg(++serial);
}

LedgerConnections::~LedgerConnections()
{
    forget(threadName());
}

QString LedgerConnections::threadName() const
{
    return m_prefix + QString::number(quintptr(QThread::currentThreadId()), 16);
}

QSqlDatabase LedgerConnections::connection(QString *error)
{
    const QString name = threadName();
    if (threadConnections.names.contains(name)) {
        if (!threadConnections.suspects.remove(name) || stillWorks(name))
            return QSqlDatabase::database(name, false);
        forget(name);
    }
    return open(name, error);
}

QSqlDatabase LedgerConnections::open(const QString &name, QString *error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(m_location.driver(), name);
    threadConnections.names.append(name);
    if (m_location.kind() == LedgerLocation::Sqlite) {
        db.setDatabaseName(m_file);
        db.setConnectOptions(QLatin1String(SqliteOptions));
    } else {
        db.setHostName(m_location.host());
        db.setPort(m_location.port());
        db.setUserName(m_location.user());
        db.setPassword(m_location.password());
        db.setDatabaseName(m_location.database());
        db.setConnectOptions(QLatin1String(PostgreSqlOptions));
    }
    if (db.open() && prepare(db))
        return db;
    if (error) {
        *error = db.isValid() ? db.lastError().text()
                              : QStringLiteral("no Qt SQL driver %1").arg(m_location.driver());
    }
    db = QSqlDatabase();
    forget(name); // the next request tries again
    return QSqlDatabase();
}

bool LedgerConnections::prepare(QSqlDatabase &db) const
{
    QSqlQuery query(db);
    // PostgreSQL's notices ("already exists, skipping") are no news in the log.
    if (m_location.kind() != LedgerLocation::Sqlite)
        return query.exec(QStringLiteral("SET client_min_messages TO WARNING"));
    // Set on every connection: FULL makes each commit durable before the
    // answer leaves; SQLite checks references only when asked.
    return query.exec(QStringLiteral("PRAGMA synchronous = FULL")) &&
           query.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
}

void LedgerConnections::suspect()
{
    const QString name = threadName();
    if (threadConnections.names.contains(name))
        threadConnections.suspects.insert(name);
}

std::shared_ptr<LedgerStatement> LedgerConnections::statement(const QSqlDatabase &db,
                                                              const QString &sql)
{
    std::shared_ptr<LedgerStatement> &kept = threadConnections.statements[db.connectionName()][sql];
    if (kept && !kept->busy) {
        kept->busy = true;
        return kept;
    }
    // The kept one is still being read from: this use gets one of its own.
    auto made = std::make_shared<LedgerStatement>(db);
    made->query.setForwardOnly(true);
    made->prepared = made->query.prepare(sql);
    made->busy = true;
    if (made->prepared && !kept)
        kept = made;
    return made;
}
