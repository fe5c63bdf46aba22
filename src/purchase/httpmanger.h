#ifndef HTTPMANGER_H
#define HTTPMANGER_H

#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <memory>

class DLFileInfo;
class QFile;
class QNetworkAccessManager;
class QNetworkRequest;

// One HTTP transfer of one download task into its partial file (the package
// name + "temp" in the book folder). Bytes are appended only when the answer
// continues exactly what the partial file holds; the finished file is moved
// over the package name. Every end (complete or failed) is told once through
// UpDate; after CloseTempFile the transfer says nothing more and no longer
// touches its task.
class HttpManger : public QObject
{
    Q_OBJECT
public:
    // An exchange that hears nothing for this long fails.
    static constexpr int TransferTimeoutMs = 30 * 1000;
    // Progress is told once per this many data chunks: each report rewrites
    // the task record and walks the whole task list.
    static constexpr int ChunksPerUpdate = 20;

    explicit HttpManger(DLFileInfo *info, QObject *parent = nullptr);
    ~HttpManger() override;

    static QString partialPath(const QString &fileName);
    static QString packagePath(const QString &fileName);

    DLFileInfo *fileInfo() const { return m_pDLFileInfo; }
    // The server's validator of the bytes already in the partial file: a
    // resume asks for the rest only while the package is still that version.
    void setValidator(const QString &validator) { m_validator = validator; }

    // Both ask for the package from the partial file's size on.
    void NewTask();
    void ContinueTask();
    // Downloads the package again from its first byte. A package of an
    // earlier download stays in place until the new one replaces it.
    void ReTask();
    // Ends the exchange without a further signal and closes the partial file.
    void CloseTempFile();

signals:
    void UpDate(QString fileName);
    void UpDateTotalSize(QString fileName);
    void RequestError(QString error);
    // The validator of the package version now going into the partial file
    // (empty when the server gives none); told before its first byte is written.
    void UpDateValidator(QString fileName, QString validator);

private slots:
    void GetTotalSize(qint64 bytesReceived, qint64 bytesTotal);
    void HttpFinished();
    void HttpReadyRead();
    void HttpError(QNetworkReply::NetworkError code);
    void HttpMetaData();

private:
    enum Answer
    {
        Undecided,
        Accepted,
        AlreadyComplete,
        Rejected
    };

    void startRequest();
    bool openPartialFile();
    QNetworkRequest request() const;
    bool takeAnswer();
    Answer judgeAnswer();
    void restartFromZero();
    void beginVersion();
    void finish();
    void fail(const QString &why);
    bool sizeMatches(qint64 size) const;
    void releaseReply();
    qint64 closePartialFile();

    qint64 startByte = 0;
    qint64 maxRequstBytes = 0;
    std::unique_ptr<QFile> m_File;
    int num = 0;
    DLFileInfo *m_pDLFileInfo;
    QNetworkAccessManager *m_NetworkAccessMng;
    QNetworkReply *m_NetworkReply = nullptr;

    QString m_validator;
    Answer m_answer = Undecided;
    // The package size the answer states; -1 when it states none.
    qint64 m_announcedTotal = -1;
    // Between the start of the exchange and its one end.
    bool m_running = false;
};

#endif // HTTPMANGER_H
