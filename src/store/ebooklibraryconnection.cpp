#include "ebooklibraryconnection.h"

#include "commondef.h"

#include <QNetworkReply>

EBooklibraryConnection::EBooklibraryConnection(QString url)
    : QObject(nullptr), m_url(std::move(url))
{}

EBooklibraryConnection::~EBooklibraryConnection()
{
    // An exchange still running is aborted here; a finished one has already
    // been handed to the event loop for deletion.
    delete m_httpCommunicator;
}

void EBooklibraryConnection::sendRequest()
{
    delete m_httpCommunicator;
    m_revBuffer.clear();
    m_errorCode = 0;
    m_httpCommunicator =
        new HttpCommunicator(HttpCommunicator::httpRequestTypeForText("GET"), m_url, QByteArray(),
                             QList<QPair<QByteArray, QByteArray>>(), false);
    m_httpCommunicator->setTimeout(m_timeoutMs);
    m_httpCommunicator->setMaxReplySize(m_maxReplySize);
    connect(m_httpCommunicator, &HttpCommunicator::finishedRequest, this,
            &EBooklibraryConnection::processResponse);
    m_httpCommunicator->makeRequest();
}

void EBooklibraryConnection::processResponse()
{
    HttpCommunicator *communicator = m_httpCommunicator;
    m_httpCommunicator = nullptr;
    if (communicator && communicator->networkReply()) {
        const int error = communicator->replyError();
        if (error == QNetworkReply::NoError) {
            m_revBuffer = communicator->networkReplyBody();
        } else {
            // A body that came with an error, or part of one, is never used.
            m_revBuffer.clear();
            m_errorCode = error;
        }
    }
    // The exchange is over; the communicator is still inside its own signal,
    // so it goes once control is back in the event loop.
    if (communicator)
        communicator->deleteLater();
    emit finishedRecv();
}

QByteArray EBooklibraryConnection::getRevByteArray() const
{
    return m_revBuffer;
}

int EBooklibraryConnection::GetHttpErrorCode()
{
    return resultCodeForError(m_errorCode);
}

int EBooklibraryConnection::resultCodeForError(int networkError)
{
    if (networkError == 0)
        return SERVER_OK;
    if (networkError == SERVER_RIGHT)
        return SERVER_OK;
    if ((networkError >= 1 && networkError <= 199) || (networkError >= 301 && networkError <= 399))
        return NETWORK_ERROR;
    if (networkError >= 201 && networkError <= 299)
        return SERVER_ERROR;
    return SYSTERM_ERROR;
}

void EBooklibraryConnection::setTimeout(int milliseconds)
{
    m_timeoutMs = milliseconds;
}

void EBooklibraryConnection::setMaxReplySize(qint64 bytes)
{
    m_maxReplySize = bytes;
}
