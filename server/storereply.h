#ifndef STOREREPLY_H
#define STOREREPLY_H

#include <QByteArray>

// One answer of the store before it goes on the wire.
struct StoreReply
{
    int status = 200;
    QByteArray body;
    QByteArray contentType = "text/xml; charset=utf-8";
};

#endif // STOREREPLY_H
