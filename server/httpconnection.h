#ifndef HTTPCONNECTION_H
#define HTTPCONNECTION_H

#include "httprequest.h"
#include "httpresponsewriter.h"

#include <QByteArray>
#include <unistd.h>

// One client connection, what has been read of its current request and
// what is left to send of its answer. It owns the socket: destroying it
// closes the connection.
struct HttpConnection
{
    explicit HttpConnection(int fd) : socket(fd) {}
    ~HttpConnection() { ::close(socket); }
    HttpConnection(const HttpConnection &) = delete;
    HttpConnection &operator=(const HttpConnection &) = delete;

    // Ready for the next request, keeping bytes a client sent ahead.
    void reset()
    {
        request = HttpRequest();
        headRead = false;
        bodyLength = 0;
    }

    const int socket;
    QByteArray buffer;
    HttpRequest request;
    bool headRead = false;
    qint64 bodyLength = 0;
    // Bytes of the current request have arrived: the read deadline runs,
    // not the idle one.
    bool requestStarted = false;
    // Refused and answered: input is discarded until the client closes or
    // the deadline passes, so the answer is not lost to a reset.
    bool draining = false;
    // An answer the socket did not take at once: the reading thread sends
    // the rest as the client takes it, then the connection is read again
    // or, unless keepAlive, closed.
    bool writing = false;
    bool keepAlive = false;
    HttpResponseWriter output;
    // Milliseconds on the monotonic clock.
    qint64 deadline = 0;
};

#endif // HTTPCONNECTION_H
