#ifndef STOREREPLY_H
#define STOREREPLY_H

#include <QByteArray>
#include <QString>

// One answer of the store before it goes on the wire.
struct StoreReply
{
    int status = 200;
    QByteArray body;
    QByteArray contentType = "text/xml; charset=utf-8";
    // The file the body is kept in as well, for answers that have one.
    QString fileName;
};

#endif // STOREREPLY_H
