#ifndef LEDGERLOCATION_H
#define LEDGERLOCATION_H

#include <QString>

// Where the store keeps its ledger: a SQLite file "ledger.db" in the data
// folder, or a PostgreSQL database that several store processes share.
// Written on the command line as "sqlite" or as
// "postgresql://[user[:password]@]host[:port]/database".
class LedgerLocation
{
public:
    enum Kind
    {
        Sqlite,
        PostgreSql
    };

    // False, with the reason, when the text names no ledger this store can use.
    bool parse(const QString &text, QString *error);

    Kind kind() const { return m_kind; }
    // The Qt SQL driver of the kind.
    QString driver() const;
    QString host() const { return m_host; }
    // -1: the database's usual port.
    int port() const { return m_port; }
    QString user() const { return m_user; }
    QString password() const { return m_password; }
    QString database() const { return m_database; }
    // For the log: the address without the password.
    QString describe() const;

private:
    Kind m_kind = Sqlite;
    QString m_host;
    int m_port = -1;
    QString m_user;
    QString m_password;
    QString m_database;
};

#endif // LEDGERLOCATION_H
