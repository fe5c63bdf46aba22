#ifndef SERVEROPTIONS_H
#define SERVEROPTIONS_H

#include "ledgerlocation.h"
#include "storebook.h"
#include "storeledger.h"

#include <QCommandLineOption>
#include <QHash>
#include <QString>
#include <QStringList>

class QCommandLineParser;

// The command line of the store server.
class ServerOptions
{
public:
    // False with a message in error when the line cannot be used.
    bool parse(const QStringList &arguments, QString *error);

    bool helpAsked() const { return m_help; }
    QString helpText() const { return m_helpText; }
    QString host() const { return m_host; }
    int port() const { return m_port; }
    QString booksFolder() const { return m_books; }
    // Empty: a SQLite ledger is a temporary file.
    QString dataFolder() const { return m_data; }
    LedgerLocation ledger() const { return m_ledger; }
    StoreLedger::Limits ledgerLimits() const { return m_ledgerLimits; }
    QHash<QString, StoreBook::Charge> charges() const { return m_charges; }
    // The base of every link in an answer, ending in "/"; empty: the
    // listening address.
    QString publicUrl() const { return m_publicUrl; }
    // Package and cover bytes are left to a front server.
    bool accelRedirect() const { return m_accelRedirect; }
    int readTimeoutMs() const { return m_readTimeoutMs; }
    int idleTimeoutMs() const { return m_idleTimeoutMs; }

private:
    bool readCharge(const QString &text, QString *error);
    static QList<QCommandLineOption> servingOptions();
    static QList<QCommandLineOption> ledgerOptions();
    bool readLedger(const QCommandLineParser &parser, QString *error);
    // A whole number from 1 to most, when the option is given.
    template <typename Number>
    static bool readWhole(const QCommandLineParser &parser, const QString &name, Number most,
                          Number *value, QString *error);
    bool readServing(const QCommandLineParser &parser, QString *error);
    static bool readSeconds(const QCommandLineParser &parser, const QString &name, int *ms,
                            QString *error);

    bool m_help = false;
    QString m_helpText;
    QString m_host = QStringLiteral("127.0.0.1");
    int m_port = 8080;
    QString m_books;
    QString m_data;
    QHash<QString, StoreBook::Charge> m_charges;
    LedgerLocation m_ledger;
    StoreLedger::Limits m_ledgerLimits;
    QString m_publicUrl;
    bool m_accelRedirect = false;
    int m_readTimeoutMs = 10000;
    int m_idleTimeoutMs = 5000;
};

#endif // SERVEROPTIONS_H
