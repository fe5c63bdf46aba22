#ifndef PACKAGESERVER_H
#define PACKAGESERVER_H

// A loopback HTTP server of the download engine tests. It serves packages by
// path like a file server (Range "bytes=N-", If-Range against the ETag, 416
// past the end), optionally slowly, records every request head, and answers
// wrongly on purpose when told to.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>

class QTcpSocket;

class PackageServer : public QTcpServer
{
public:
    enum Fault
    {
        NoFault,
        WrongRangeStart, // 206, but from byte 0 whatever was asked
        WholeOnResume,   // 200 with the whole package, ranges ignored
        ShortBody,       // the promised length, then half the body and closed
        LargerTotal,     // a total 100 bytes larger than what is sent
        ServerError,     // 500
        NoLength         // 200 without a length, ended by closing
    };
    struct Request
    {
        QByteArray path;
        QHash<QByteArray, QByteArray> headers; // names in lower case
    };

    // Listens on the loopback port given (0: any free one).
    bool start(quint16 port = 0);
    // Stops listening and cuts every open exchange.
    void stop();

    // "http://127.0.0.1:PORT/path?cid=cid".
    QString link(const QByteArray &path, const QString &cid) const;
    void setPackage(const QByteArray &path, const QByteArray &bytes, const QByteArray &etag);
    void setFault(Fault fault) { m_fault = fault; }
    // Bodies go out in slices of sliceBytes every intervalMs; 0 bytes: at once.
    void setPace(int sliceBytes, int intervalMs);

    QList<Request> requests;
    QList<Request> requestsFor(const QByteArray &path) const;

protected:
    void incomingConnection(qintptr handle) override;

private:
    struct Package
    {
        QByteArray bytes;
        QByteArray etag;
    };

    void readHead(QTcpSocket *socket);
    void serve(QTcpSocket *socket, const QByteArray &head);
    QByteArray answer(const Request &request, QByteArray &body) const;
    void send(QTcpSocket *socket, const QByteArray &bytes);

    QHash<QByteArray, Package> m_packages;
    Fault m_fault = NoFault;
    int m_sliceBytes = 0;
    int m_intervalMs = 0;
};

#endif // PACKAGESERVER_H
