#include "httpcommunicator.h"

#include <QBuffer>
#include <QFile>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

HttpCommunicator::HttpCommunicator(HttpRequestType requestType, QString url, QByteArray postData,
                                   QList<QPair<QByteArray, QByteArray>> customHeaders,
                                   bool saveResponseToFile)
    : QObject(nullptr), m_networkAccessManager(this), m_requestType(requestType),
      m_customHeaders(std::move(customHeaders)), m_saveResponseToFile(saveResponseToFile)
{
    auto *buffer = new QBuffer(this);
    buffer->setData(postData);
    m_postData = buffer;
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &HttpCommunicator::timedOut);
    construct(std::move(url));
}

HttpCommunicator::~HttpCommunicator()
{
    // The reply belongs to the access manager; abort it first so no signal of
    // it reaches this half-destroyed object.
    if (m_networkReply) {
        m_networkReply->disconnect(this);
        m_networkAccessManager.disconnect(this);
        m_networkReply->abort();
    }
    delete m_networkRequest;
    delete m_outputFile;
}

void HttpCommunicator::construct(QString url)
{
    connect(&m_networkAccessManager, &QNetworkAccessManager::finished, this,
            &HttpCommunicator::finishedSlot);
    // Tolerant parsing: our own URLs come encoded already, but links taken
    // from a store answer may carry spaces or non-ASCII text raw; both leave
    // here in the same fully encoded form.
    m_url.setUrl(url, QUrl::TolerantMode);
    encodeQueryItems(m_url);
}

void HttpCommunicator::encodeQueryItems(QUrl &url)
{
    if (!url.hasQuery())
        return;
    const QUrlQuery decoded(url);
    QUrlQuery encoded;
    // Every name and value goes out as UTF-8 percent-encoding, in the order of
    // the URL text; only letters, digits and "-._~" stay as they are.
    const auto items = decoded.queryItems(QUrl::FullyDecoded);
    for (const auto &item : items) {
        encoded.addQueryItem(QString::fromLatin1(QUrl::toPercentEncoding(item.first)),
                             QString::fromLatin1(QUrl::toPercentEncoding(item.second)));
    }
    url.setQuery(encoded);
}

void HttpCommunicator::makeRequest()
{
    m_downloadProgress = 0;
    m_uploadProgress = 0;
    delete m_networkRequest;
    m_networkRequest = nullptr;
    if (m_networkReply) {
        m_networkReply->disconnect(this);
        m_networkReply->deleteLater();
        m_networkReply = nullptr;
    }
    m_networkReplyBody.clear();
    m_abortReason = 0;

    m_networkRequest = new QNetworkRequest(m_url);
    for (const auto &header : std::as_const(m_customHeaders))
        m_networkRequest->setRawHeader(header.first, header.second);
    // The store's answers come straight from the action; a redirect is not
    // followed.
    m_networkRequest->setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                   QNetworkRequest::ManualRedirectPolicy);
    issue(*m_networkRequest);
    if (!m_networkReply)
        return;

    connect(m_networkReply, &QNetworkReply::downloadProgress, this,
            qOverload<qint64, qint64>(&HttpCommunicator::downloadProgress));
    connect(m_networkReply, &QNetworkReply::uploadProgress, this,
            qOverload<qint64, qint64>(&HttpCommunicator::uploadProgress));
    connect(m_networkReply, &QIODevice::readyRead, this, &HttpCommunicator::downloadReadyRead);
    connect(m_networkReply, &QNetworkReply::metaDataChanged, this,
            &HttpCommunicator::metaDataChanged);
    if (m_timeoutMs > 0)
        m_timer.start(m_timeoutMs);
}

void HttpCommunicator::issue(const QNetworkRequest &request)
{
    switch (m_requestType) {
    case HttpRequestTypeGet:
        m_networkReply = m_networkAccessManager.get(request);
        break;
    case HttpRequestTypePost:
        m_networkReply = m_postData ? m_networkAccessManager.post(request, openedPostData())
                                    : m_networkAccessManager.post(request, QByteArray());
        break;
    case HttpRequestTypeDelete:
        m_networkReply = m_networkAccessManager.deleteResource(request);
        break;
    case HttpRequestTypePut:
        m_networkReply = m_postData ? m_networkAccessManager.put(request, openedPostData())
                                    : m_networkAccessManager.put(request, QByteArray());
        break;
    case HttpRequestTypeHead:
        m_networkReply = m_networkAccessManager.head(request);
        break;
    }
}

QIODevice *HttpCommunicator::openedPostData()
{
    if (!m_postData->isOpen())
        m_postData->open(QIODevice::ReadOnly);
    m_postData->seek(0);
    return m_postData;
}

bool HttpCommunicator::saveResponseToFile() const
{
    return m_saveResponseToFile;
}

void HttpCommunicator::finishedSlot(QNetworkReply *reply)
{
    if (reply != m_networkReply)
        return;
    m_timer.stop();
    // Whatever is still buffered belongs to the body.
    downloadReadyRead();
    emit finishedRequest();
    delete m_postData;
    m_postData = nullptr;
    if (m_outputFile) {
        m_outputFile->close();
        delete m_outputFile;
        m_outputFile = nullptr;
    }
}

void HttpCommunicator::downloadReadyRead()
{
    if (!m_networkReply || m_abortReason)
        return;
    const qint64 available = m_networkReply->bytesAvailable();
    if (m_networkReplyBody.size() + available > m_maxReplySize) {
        abortAs(ReplyTooLargeError);
        return;
    }
    m_networkReplyBody.append(m_networkReply->readAll());
}

void HttpCommunicator::metaDataChanged()
{
    if (!m_networkReply)
        return;
    // Refuse an oversized answer before any of it is read.
    const QVariant length = m_networkReply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > m_maxReplySize)
        abortAs(ReplyTooLargeError);
}

void HttpCommunicator::timedOut()
{
    abortAs(QNetworkReply::TimeoutError);
}

void HttpCommunicator::abortAs(int error)
{
    if (!m_networkReply || m_abortReason)
        return;
    m_abortReason = error;
    m_networkReplyBody.clear();
    // abort() finishes the reply at once; finishedSlot reports it.
    m_networkReply->abort();
}

void HttpCommunicator::downloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    m_downloadProgress = percentOf(bytesReceived, bytesTotal);
}

void HttpCommunicator::uploadProgress(qint64 bytesSent, qint64 bytesTotal)
{
    m_uploadProgress = percentOf(bytesSent, bytesTotal);
}

int HttpCommunicator::percentOf(qint64 done, qint64 total)
{
    if (total < 1)
        return 0;
    return static_cast<int>(done * 100 / total);
}

QNetworkReply *HttpCommunicator::networkReply() const
{
    return m_networkReply;
}

QByteArray HttpCommunicator::networkReplyBody() const
{
    return m_networkReplyBody;
}

int HttpCommunicator::downloadProgress() const
{
    return m_downloadProgress;
}

int HttpCommunicator::uploadProgress() const
{
    return m_uploadProgress;
}

int HttpCommunicator::replyError() const
{
    if (m_abortReason)
        return m_abortReason;
    if (!m_networkReply)
        return QNetworkReply::NoError;
    return m_networkReply->error();
}

void HttpCommunicator::setTimeout(int milliseconds)
{
    m_timeoutMs = milliseconds;
}

int HttpCommunicator::timeout() const
{
    return m_timeoutMs;
}

void HttpCommunicator::setMaxReplySize(qint64 bytes)
{
    m_maxReplySize = bytes;
}

qint64 HttpCommunicator::maxReplySize() const
{
    return m_maxReplySize;
}

HttpCommunicator::HttpRequestType HttpCommunicator::httpRequestTypeForText(const QString &text)
{
    if (text == QLatin1String("GET"))
        return HttpRequestTypeGet;
    if (text == QLatin1String("DELETE"))
        return HttpRequestTypeDelete;
    if (text == QLatin1String("POST"))
        return HttpRequestTypePost;
    if (text == QLatin1String("PUT"))
        return HttpRequestTypePut;
    if (text == QLatin1String("HEAD"))
        return HttpRequestTypeHead;
    return HttpRequestTypeGet;
}

void HttpCommunicator::textForHttpRequestType(int requestType, QString &text)
{
    switch (requestType) {
    case HttpRequestTypePost:
        text.append(QLatin1String("POST"));
        return;
    case HttpRequestTypeDelete:
        text.append(QLatin1String("DELETE"));
        return;
    case HttpRequestTypePut:
        text.append(QLatin1String("PUT"));
        return;
    case HttpRequestTypeHead:
        text.append(QLatin1String("HEAD"));
        return;
    default:
        text.append(QLatin1String("GET"));
        return;
    }
}
