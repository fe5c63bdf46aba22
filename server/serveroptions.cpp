#include "serveroptions.h"

#include <QCommandLineParser>

bool ServerOptions::parse(const QStringList &arguments, QString *error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The ZarvoReader book store: serves the store front, search, book "
                       "details, orders and packages of a folder of book packages."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption host(QStringLiteral("host"),
                                  QStringLiteral("Address to listen on (default 127.0.0.1)."),
                                  QStringLiteral("address"), m_host);
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Port to listen on (default 8080); 0 picks a free one."),
        QStringLiteral("n"), QString::number(m_port));
    const QCommandLineOption books(QStringLiteral("books"),
                                   QStringLiteral("Folder of .vbp book packages to offer."),
                                   QStringLiteral("dir"));
    const QCommandLineOption price(
        QStringLiteral("price"),
        QStringLiteral("How a book is paid for: free, sms or pay. Repeatable; once given, "
                       "books not named are free."),
        QStringLiteral("id=kind"));
    const QCommandLineOption data(
        QStringLiteral("data"),
        QStringLiteral("Folder of the store's ledger (user ids, balances, orders, purchases), "
                       "made when missing. Without it the ledger lives in memory and is lost "
                       "when the store stops."),
        QStringLiteral("dir"));
    parser.addOptions({help, host, port, books, price, data});
    m_helpText = parser.helpText();
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return false;
    }
    m_help = parser.isSet(help);
    m_host = parser.value(host);
    bool ok = false;
    m_port = parser.value(port).toInt(&ok);
    if (!ok || m_port < 0 || m_port > 65535) {
        *error = QStringLiteral("bad port: %1").arg(parser.value(port));
        return false;
    }
    m_books = parser.value(books);
    m_data = parser.value(data);
    if (parser.isSet(data) && m_data.isEmpty()) {
        *error = QStringLiteral("--data needs a folder");
        return false;
    }
    for (const QString &charge : parser.values(price)) {
        if (!readCharge(charge, error))
            return false;
    }
    return true;
}

bool ServerOptions::readCharge(const QString &text, QString *error)
{
    const qsizetype equals = text.lastIndexOf(QLatin1Char('='));
    const QString id = text.left(equals);
    const QString kind = text.mid(equals + 1);
    static const QHash<QString, StoreBook::Charge> kinds = {
        {QStringLiteral("free"), StoreBook::Free},
        {QStringLiteral("sms"), StoreBook::Sms},
        {QStringLiteral("pay"), StoreBook::Account},
    };
    if (equals < 1 || !kinds.contains(kind)) {
        *error = QStringLiteral("bad --price %1 (expected id=free|sms|pay)").arg(text);
        return false;
    }
    m_charges.insert(id, kinds.value(kind));
    return true;
}
