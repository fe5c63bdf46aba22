#ifndef FIXTURESERVER_H
#define FIXTURESERVER_H

#include <QByteArray>
#include <QList>
#include <QTcpServer>
#include <QUrl>
#include <functional>

// A loopback HTTP server on a port chosen by the system. Every GET is
// recorded and answered by the route function the test sets.
class FixtureServer : public QObject
{
    Q_OBJECT
public:
    struct Reply
    {
        int status = 200;
        QByteArray body;
    };
    using Route = std::function<Reply(const QUrl &url)>;

    explicit FixtureServer(QObject *parent = nullptr);

    bool start();
    // "127.0.0.1:PORT", the form the store address takes.
    QString hostPort() const;
    void setRoute(Route route) { m_route = std::move(route); }

    // Every request received so far, in order of arrival.
    QList<QUrl> requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    // Requests to one action file, e.g. "search.action".
    QList<QUrl> requestsTo(const QString &action) const;

private slots:
    void acceptConnection();

private:
    void serve(class QTcpSocket *socket);

    QTcpServer m_server;
    Route m_route;
    QList<QUrl> m_requests;
};

#endif // FIXTURESERVER_H
