#ifndef HTTPREQUESTPARSER_H
#define HTTPREQUESTPARSER_H

#include "httplimits.h"
#include "httprequest.h"

#include <QByteArray>
#include <QByteArrayList>

// Reads a request head from the bytes a connection has received so far,
// strictly: a malformed line is refused rather than guessed at, and a head
// that grows past the limits is refused as soon as it does, so a flood
// never costs more than the limits.
class HttpRequestParser
{
public:
    enum Outcome
    {
        NeedMore,
        Complete,
        Refused
    };

    struct Head
    {
        Outcome outcome = NeedMore;
        // Refused: the status to answer with.
        int status = 0;
        // Complete: the bytes the head took, and the body bytes that follow.
        qint64 headLength = 0;
        qint64 bodyLength = 0;
    };

    explicit HttpRequestParser(const HttpLimits &limits) : m_limits(limits) {}

    // Fills request (all but its body) once the head is complete.
    Head read(const QByteArray &buffer, HttpRequest *request) const;

    static QString decode(QByteArray text, bool plusIsSpace);
    // "name=value&..." as queries and form bodies carry it.
    static QList<QPair<QString, QString>> readForm(const QByteArray &text);

private:
    // The head's lines up to the empty one, without line ends.
    Head splitLines(const QByteArray &buffer, QByteArrayList *lines) const;
    Head incomplete(const QByteArray &buffer, qint64 start) const;
    static bool isToken(const QByteArray &text);
    static bool readRequestLine(const QByteArray &line, HttpRequest *request, int *status);
    static bool readField(const QByteArray &line, HttpRequest *request);
    int checkFraming(const HttpRequest &request, qint64 *bodyLength) const;
    static void readConnection(HttpRequest *request);
    static void readTarget(HttpRequest *request);

    HttpLimits m_limits;
};

#endif // HTTPREQUESTPARSER_H
