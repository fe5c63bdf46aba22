#ifndef HTTPCOMMUNICATOR_H
#define HTTPCOMMUNICATOR_H

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTimer>
#include <QUrl>

class QFile;
class QIODevice;
class QNetworkReply;
class QNetworkRequest;

// One HTTP exchange on its own network access manager: issues the request,
// collects the body as it arrives and signals when the reply is finished.
// Deleting the object aborts an unfinished exchange without a signal.
class HttpCommunicator : public QObject
{
    Q_OBJECT
public:
    enum HttpRequestType
    {
        HttpRequestTypeGet = 0,
        HttpRequestTypePost = 1,
        HttpRequestTypeDelete = 2,
        HttpRequestTypePut = 3,
        HttpRequestTypeHead = 4
    };

    // Reported by replyError() for an answer larger than maxReplySize(); it is
    // no QNetworkReply error, so it maps to the "other failure" result.
    static constexpr int ReplyTooLargeError = 1000;
    static constexpr int DefaultTimeoutMs = 30 * 1000;
    static constexpr qint64 DefaultMaxReplySize = 16 * 1024 * 1024;

    HttpCommunicator(HttpRequestType requestType, QString url, QByteArray postData,
                     QList<QPair<QByteArray, QByteArray>> customHeaders, bool saveResponseToFile);
    ~HttpCommunicator() override;

    void makeRequest();

    QNetworkReply *networkReply() const;
    QByteArray networkReplyBody() const;
    int downloadProgress() const;
    int uploadProgress() const;
    // The reply's QNetworkReply::NetworkError, TimeoutError when the request
    // ran out of time, ReplyTooLargeError when the answer exceeded the cap.
    int replyError() const;
    // Kept for callers that ask; the store client never saves to a file.
    bool saveResponseToFile() const;

    // Whole-exchange limit, from sending to the last byte; applies to the
    // next makeRequest().
    void setTimeout(int milliseconds);
    int timeout() const;
    void setMaxReplySize(qint64 bytes);
    qint64 maxReplySize() const;

    // Replaces every query name and value by its full UTF-8 percent-encoding,
    // in the order of the URL text.
    static void encodeQueryItems(QUrl &url);

    static HttpRequestType httpRequestTypeForText(const QString &text);
    static void textForHttpRequestType(int requestType, QString &text);

signals:
    void finishedRequest();

private slots:
    void finishedSlot(QNetworkReply *reply);
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void uploadProgress(qint64 bytesSent, qint64 bytesTotal);
    void downloadReadyRead();
    void timedOut();
    void metaDataChanged();

private:
    void construct(QString url);
    static int percentOf(qint64 done, qint64 total);
    void issue(const QNetworkRequest &request);
    QIODevice *openedPostData();
    void abortAs(int error);

    QNetworkAccessManager m_networkAccessManager;
    QNetworkRequest *m_networkRequest = nullptr;
    QNetworkReply *m_networkReply = nullptr;
    const HttpRequestType m_requestType;
    QUrl m_url;
    QByteArray m_networkReplyBody;
    QIODevice *m_postData = nullptr;
    QList<QPair<QByteArray, QByteArray>> m_customHeaders;
    int m_downloadProgress = 0;
    int m_uploadProgress = 0;
    bool m_saveResponseToFile;
    QFile *m_outputFile = nullptr;

    QTimer m_timer;
    int m_timeoutMs = DefaultTimeoutMs;
    qint64 m_maxReplySize = DefaultMaxReplySize;
    // Why we aborted the reply ourselves; 0 when we did not.
    int m_abortReason = 0;
};

#endif // HTTPCOMMUNICATOR_H
