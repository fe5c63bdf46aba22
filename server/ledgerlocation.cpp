#include "ledgerlocation.h"

#include <QUrl>

bool LedgerLocation::parse(const QString &text, QString *error)
{
    *this = LedgerLocation();
    if (text == QLatin1String("sqlite"))
        return true;
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() ||
        (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres"))) {
        *error = QStringLiteral("bad --ledger %1 (expected sqlite or "
                                "postgresql://user@host:port/database)")
                     .arg(text);
        return false;
    }
    if (url.hasQuery() || url.hasFragment() || url.path().count(QLatin1Char('/')) > 1) {
        *error = QStringLiteral("bad --ledger %1: only user, password, host, port and "
                                "database may be given")
                     .arg(url.toDisplayString(QUrl::RemovePassword));
        return false;
    }
    m_kind = PostgreSql;
    m_host = url.host();
    m_port = url.port(-1);
    m_user = url.userName();
    m_password = url.password();
    m_database = url.path().mid(1);
    return true;
}

QString LedgerLocation::driver() const
{
    return m_kind == PostgreSql ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
}

QString LedgerLocation::describe() const
{
    if (m_kind == Sqlite)
        return QStringLiteral("sqlite");
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(m_user);
    url.setHost(m_host);
    url.setPort(m_port);
    url.setPath(QLatin1Char('/') + m_database);
    return url.toDisplayString();
}
