#ifndef FIXTURESERVER_H
#define FIXTURESERVER_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QTcpServer>
#include <QUrl>
#include <functional>

class QTcpSocket;

// A loopback HTTP server on a port chosen by the system. Every GET is
// recorded and answered by the route the test sets.
class FixtureServer : public QTcpServer
{
public:
    // Whole: with its length. Streamed: no length, ended by closing.
    // Silent: never answered. CutShort: half of a promised body, then closed.
    // Held: answered Whole once the test calls releaseHeld().
    enum Shape
    {
        Whole,
        Streamed,
        Silent,
        CutShort,
        Held
    };
    struct Reply
    {
        int status = 200;
        QByteArray body;
        Shape shape = Whole;
    };
    using Route = std::function<Reply(const QUrl &url)>;

    FixtureServer() { listen(QHostAddress::LocalHost); }
    // "127.0.0.1:PORT", the form the store address takes.
    QString hostPort() const;
    void setRoute(Route route) { m_route = std::move(route); }
    // Request targets as they came over the wire, in order of arrival.
    QList<QByteArray> targets;
    // Requests to one action file, e.g. "search.action".
    QList<QUrl> requestsTo(const QString &action) const;
    // Sends the answers held back so far.
    void releaseHeld();

protected:
    void incomingConnection(qintptr handle) override;

private:
    void serve(QTcpSocket *socket, QByteArray &request);
    static void answer(QTcpSocket *socket, const Reply &reply);

    Route m_route;
    QList<QPair<QPointer<QTcpSocket>, Reply>> m_held;
};

#endif // FIXTURESERVER_H
