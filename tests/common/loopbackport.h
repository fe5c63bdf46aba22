#ifndef LOOPBACKPORT_H
#define LOOPBACKPORT_H

// Ports for servers that tests start as child processes.

#include <QHostAddress>
#include <QTcpServer>

namespace LoopbackPort {

// A loopback port that was free a moment ago, or 0. Another process may take
// it before the child binds it: callers try again on a fresh one when the
// child says the address is in use.
inline int pickFree()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

} // namespace LoopbackPort

#endif // LOOPBACKPORT_H
