#ifndef EBOOKLIBRARYCONNECTION_H
#define EBOOKLIBRARYCONNECTION_H

#include "httpcommunicator.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// One store request: sends the URL, and once the reply is in, offers the body
// (empty on failure) and the result code of the exchange. Deleting it
// abandons an unfinished exchange, which then reports nothing.
class EBooklibraryConnection : public QObject
{
    Q_OBJECT
public:
    explicit EBooklibraryConnection(QString url);
    ~EBooklibraryConnection() override;

    void sendRequest();
    QByteArray getRevByteArray() const;
    int GetHttpErrorCode();

    // Limits for the exchange, set before sendRequest().
    void setTimeout(int milliseconds);
    void setMaxReplySize(qint64 bytes);

    // The store result code for a QNetworkReply error value (or the channel's
    // own ReplyTooLargeError).
    static int resultCodeForError(int networkError);

signals:
    void finishedRecv();

private slots:
    void processResponse();

private:
    HttpCommunicator *m_httpCommunicator = nullptr;
    QString m_url;
    QByteArray m_revBuffer;
    int m_errorCode = 0;

    int m_timeoutMs = HttpCommunicator::DefaultTimeoutMs;
    qint64 m_maxReplySize = HttpCommunicator::DefaultMaxReplySize;
};

#endif // EBOOKLIBRARYCONNECTION_H
