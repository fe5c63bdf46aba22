#include "packageserver.h"

#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace {

QByteArray statusLine(int status)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " X\r\nConnection: close\r\n";
}

// The N of "bytes=N-"; 0 without a range.
qint64 rangeStart(const QByteArray &range)
{
    if (!range.startsWith("bytes=") || !range.endsWith('-'))
        return 0;
    return range.mid(6, range.size() - 7).toLongLong();
}

} // namespace

bool PackageServer::start(quint16 port)
{
    return listen(QHostAddress::LocalHost, port);
}

void PackageServer::stop()
{
    close();
    const auto sockets = findChildren<QTcpSocket *>();
    for (QTcpSocket *socket : sockets) {
        socket->abort();
        socket->deleteLater();
    }
}

QString PackageServer::link(const QByteArray &path, const QString &cid) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2?cid=%3")
        .arg(serverPort())
        .arg(QString::fromLatin1(path), cid);
}

void PackageServer::setPackage(const QByteArray &path, const QByteArray &bytes,
                               const QByteArray &etag)
{
    m_packages.insert(path, {bytes, etag});
}

void PackageServer::setPace(int sliceBytes, int intervalMs)
{
    m_sliceBytes = sliceBytes;
    m_intervalMs = intervalMs;
}

QList<PackageServer::Request> PackageServer::requestsFor(const QByteArray &path) const
{
    QList<Request> found;
    for (const Request &request : requests) {
        if (request.path == path)
            found.append(request);
    }
    return found;
}

void PackageServer::incomingConnection(qintptr handle)
{
    auto *socket = new QTcpSocket(this);
    socket->setSocketDescriptor(handle);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readHead(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

// Collects the request head in the socket and answers once it is whole.
void PackageServer::readHead(QTcpSocket *socket)
{
    if (socket->property("served").toBool())
        return;
    const QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    socket->setProperty("head", head);
    if (!head.contains("\r\n\r\n"))
        return;
    socket->setProperty("served", true);
    serve(socket, head);
}

void PackageServer::serve(QTcpSocket *socket, const QByteArray &head)
{
    const QList<QByteArray> lines = head.left(head.indexOf("\r\n\r\n")).split('\n');
    Request request;
    const QByteArray target = lines.value(0).split(' ').value(1);
    request.path = target.left(target.indexOf('?')).mid(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                   lines[i].mid(colon + 1).trimmed());
    }
    requests.append(request);
    QByteArray body;
    const QByteArray answerHead = answer(request, body);
    send(socket, answerHead + "\r\n" + body);
}

// The head of the answer to request (without the blank line); body is set
// to what follows it.
QByteArray PackageServer::answer(const Request &request, QByteArray &body) const
{
    if (!m_packages.contains(request.path) || m_fault == ServerError) {
        body = "no";
        return statusLine(m_fault == ServerError ? 500 : 404) + "Content-Length: 2\r\n";
    }
    const Package &package = m_packages[request.path];
    const qint64 size = package.bytes.size();
    const QByteArray etagLine = "ETag: " + package.etag + "\r\n";
    qint64 first = rangeStart(request.headers.value("range"));
    const QByteArray ifRange = request.headers.value("if-range");
    const bool whole = m_fault == WholeOnResume || m_fault == NoLength ||
                       (!ifRange.isEmpty() && ifRange != package.etag);
    if (whole) {
        body = package.bytes;
        const QByteArray length = m_fault == NoLength
                                      ? QByteArray()
                                      : "Content-Length: " + QByteArray::number(size) + "\r\n";
        return statusLine(200) + etagLine + length;
    }
    if (first >= size) {
        body.clear();
        return statusLine(416) + "Content-Range: bytes */" + QByteArray::number(size) +
               "\r\nContent-Length: 0\r\n";
    }
    if (m_fault == WrongRangeStart)
        first = 0;
    body = package.bytes.mid(first);
    const qint64 total = m_fault == LargerTotal ? size + 100 : size;
    QByteArray answerHead = statusLine(206) + etagLine + "Content-Range: bytes " +
                            QByteArray::number(first) + '-' + QByteArray::number(size - 1) + '/' +
                            QByteArray::number(total) +
                            "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n";
    if (m_fault == ShortBody)
        body.truncate(body.size() / 2);
    return answerHead;
}

// Writes bytes (at the set pace) and closes the connection after them.
void PackageServer::send(QTcpSocket *socket, const QByteArray &bytes)
{
    if (m_sliceBytes <= 0) {
        socket->write(bytes);
        socket->disconnectFromHost();
        return;
    }
    auto *timer = new QTimer(socket);
    auto offset = std::make_shared<qsizetype>(0);
    const int slice = m_sliceBytes;
    connect(timer, &QTimer::timeout, socket, [socket, timer, bytes, offset, slice] {
        if (socket->state() != QAbstractSocket::ConnectedState) {
            timer->stop();
            return;
        }
        socket->write(bytes.mid(*offset, slice));
        *offset += slice;
        if (*offset >= bytes.size()) {
            timer->stop();
            socket->disconnectFromHost();
        }
    });
    timer->start(m_intervalMs);
}
