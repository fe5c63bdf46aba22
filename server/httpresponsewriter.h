#ifndef HTTPRESPONSEWRITER_H
#define HTTPRESPONSEWRITER_H

#include <QByteArray>
#include <QFile>
#include <memory>
#include <sys/types.h>

struct HttpRequest;
struct HttpResponse;

// Puts one answer on a non-blocking socket, as much at a time as the socket
// takes, so that nobody waits for a client that reads slowly: whoever holds
// the connection calls pump() again once the socket is writable. What was
// actually sent is counted, so the log never reports an aborted download as
// complete.
class HttpResponseWriter
{
public:
    enum Progress
    {
        Done,
        Blocked,
        Failed
    };

    // Takes the answer over: the head, then unless the request was a HEAD
    // the body.
    void start(const HttpRequest &request, HttpResponse &response, bool keepAlive);
    Progress pump(int socket);
    int status() const { return m_status; }
    qint64 bodyBytesSent() const { return qMax<qint64>(0, m_sent - m_headSize) + m_fileSent; }
    qint64 totalSent() const { return m_sent + m_fileSent; }

    // A small answer sent at once, if the socket takes it, before closing.
    static bool writeNow(int socket, const QByteArray &bytes);
    static QByteArray head(const HttpRequest &request, const HttpResponse &response,
                           bool keepAlive);
    static const char *reason(int status);

private:
    Progress pumpBytes(int socket);
    Progress pumpFile(int socket);
    // After a write that moved nothing.
    static Progress stalled(ssize_t written);
    static QByteArray httpDate();

    int m_status = 0;
    QByteArray m_bytes;
    qint64 m_headSize = 0;
    qint64 m_sent = 0;
    std::unique_ptr<QFile> m_file;
    qint64 m_fileOffset = 0;
    qint64 m_fileEnd = 0;
    qint64 m_fileSent = 0;
};

#endif // HTTPRESPONSEWRITER_H
