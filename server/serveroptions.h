#ifndef SERVEROPTIONS_H
#define SERVEROPTIONS_H

#include "storebook.h"

#include <QHash>
#include <QString>
#include <QStringList>

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
    // Empty: keep the ledger in memory.
    QString dataFolder() const { return m_data; }
    QHash<QString, StoreBook::Charge> charges() const { return m_charges; }

private:
    bool readCharge(const QString &text, QString *error);

    bool m_help = false;
    QString m_helpText;
    QString m_host = QStringLiteral("127.0.0.1");
    int m_port = 8080;
    QString m_books;
    QString m_data;
    QHash<QString, StoreBook::Charge> m_charges;
};

#endif // SERVEROPTIONS_H
