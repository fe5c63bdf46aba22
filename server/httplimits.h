#ifndef HTTPLIMITS_H
#define HTTPLIMITS_H

#include <QtGlobal>

// What one connection may cost the server. A request head is read within
// readTimeoutMs of its first byte however slowly it trickles in; a
// connection between requests is closed after idleTimeoutMs; a client that
// takes nothing of an answer for writeTimeoutMs is dropped.
struct HttpLimits
{
    int maxHeaderCount = 100;
    // The request line and every header line together.
    int maxHeadBytes = 16 * 1024;
    int maxRequestLineBytes = 8 * 1024;
    qint64 maxBodyBytes = 64 * 1024;
    int readTimeoutMs = 10000;
    int idleTimeoutMs = 5000;
    int writeTimeoutMs = 10000;
    int workerCount = 16;
    int backlog = 1024;
    int maxConnections = 4096;
};

#endif // HTTPLIMITS_H
