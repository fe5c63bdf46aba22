#include "httpmanger.h"

#include "commondef.h"
#include "dlfileinfo.h"
#include "httpcommunicator.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <cstdio>

namespace {

// "bytes FIRST-LAST/TOTAL" or "bytes */TOTAL"; TOTAL may be "*".
struct ContentRange
{
    qint64 first = -1;
    qint64 total = -1;

    static ContentRange parse(const QByteArray &header)
    {
        static const QRegularExpression form(
            QStringLiteral("^\\s*bytes\\s+(?:(\\d+)-\\d+|\\*)/(\\d+|\\*)\\s*$"));
        const QRegularExpressionMatch match = form.match(QString::fromLatin1(header));
        ContentRange range;
        if (!match.hasMatch())
            return range;
        bool ok = false;
        const qint64 first = match.captured(1).toLongLong(&ok);
        range.first = ok ? first : -1;
        const qint64 total = match.captured(2).toLongLong(&ok);
        range.total = ok ? total : -1;
        return range;
    }
};

// A strong ETag names one exact version of the package; without one, the
// modification date does.
QString validatorOf(const QNetworkReply &reply)
{
    const QByteArray etag = reply.rawHeader("ETag");
    if (!etag.isEmpty() && !etag.startsWith("W/"))
        return QString::fromLatin1(etag);
    return QString::fromLatin1(reply.rawHeader("Last-Modified"));
}

} // namespace

HttpManger::HttpManger(DLFileInfo *info, QObject *parent)
    : QObject(parent), m_pDLFileInfo(info), m_NetworkAccessMng(new QNetworkAccessManager(this))
{
    m_File = std::make_unique<QFile>(partialPath(info->m_fileName));
}

HttpManger::~HttpManger()
{
    CloseTempFile();
}

QString HttpManger::partialPath(const QString &fileName)
{
    return packagePath(fileName) + QLatin1String("temp");
}

QString HttpManger::packagePath(const QString &fileName)
{
    return BookFolder + QLatin1Char('/') + fileName;
}

void HttpManger::NewTask()
{
    startRequest();
}

void HttpManger::ContinueTask()
{
    startRequest();
}

void HttpManger::ReTask()
{
    QFile::remove(partialPath(m_pDLFileInfo->m_fileName));
    startRequest();
}

void HttpManger::CloseTempFile()
{
    m_running = false;
    releaseReply();
    closePartialFile();
}

void HttpManger::startRequest()
{
    m_running = true;
    m_answer = Undecided;
    m_announcedTotal = -1;
    num = 0;
    if (!openPartialFile()) {
        // Failing (after the caller has finished starting us) keeps the task
        // from waiting for an exchange that never comes.
        QMetaObject::invokeMethod(
            this, [this] { fail(tr("cannot open the partial file")); }, Qt::QueuedConnection);
        return;
    }
    startByte = m_File->size();
    m_NetworkReply = m_NetworkAccessMng->get(request());
    connect(m_NetworkReply, &QNetworkReply::metaDataChanged, this, &HttpManger::HttpMetaData);
    connect(m_NetworkReply, &QNetworkReply::downloadProgress, this, &HttpManger::GetTotalSize);
    connect(m_NetworkReply, &QNetworkReply::finished, this, &HttpManger::HttpFinished);
    connect(m_NetworkReply, &QIODevice::readyRead, this, &HttpManger::HttpReadyRead);
    connect(m_NetworkReply, &QNetworkReply::errorOccurred, this, &HttpManger::HttpError);
}

bool HttpManger::openPartialFile()
{
    QDir().mkpath(BookFolder);
    if (!m_File)
        m_File = std::make_unique<QFile>(partialPath(m_pDLFileInfo->m_fileName));
    // Unbuffered: what the file holds is exactly what was written, even when
    // the program is killed mid-transfer.
    if (m_File->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return true;
    m_File.reset();
    return false;
}

QNetworkRequest HttpManger::request() const
{
    QUrl url(m_pDLFileInfo->m_url, QUrl::TolerantMode);
    HttpCommunicator::encodeQueryItems(url);
    QNetworkRequest request(url);
    // The "Host" header is the URL's host, as Qt sends it (and follows it
    // through a redirect to another host, which a fixed header would not).
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Range", "bytes=" + QByteArray::number(startByte) + '-');
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/vbp"));
    // Byte offsets count the package as stored, so nothing may be decoded
    // on the way.
    request.setRawHeader("Accept-Encoding", "identity");
    // A package changed on the server comes whole (200) instead of as a tail
    // that would be spliced onto the old version's head.
    if (startByte > 0 && !m_validator.isEmpty())
        request.setRawHeader("If-Range", m_validator.toLatin1());
    request.setTransferTimeout(TransferTimeoutMs);
    return request;
}

// Decides once, when the final answer's head is known, whether its body may
// go into the partial file, and acts on the decision. True when bytes may be
// written.
bool HttpManger::takeAnswer()
{
    if (!m_running || !m_NetworkReply)
        return false;
    if (m_answer != Undecided)
        return m_answer == Accepted;
    m_answer = judgeAnswer();
    if (m_answer == AlreadyComplete)
        finish();
    else if (m_answer == Rejected)
        fail(tr("unexpected answer %1 to a request from byte %2")
                 .arg(m_NetworkReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt())
                 .arg(startByte));
    return m_answer == Accepted;
}

HttpManger::Answer HttpManger::judgeAnswer()
{
    const int status = m_NetworkReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // No head yet, or a redirect on its way to the real answer.
    if (status == 0 || (status >= 300 && status < 400))
        return Undecided;
    const ContentRange range = ContentRange::parse(m_NetworkReply->rawHeader("Content-Range"));
    if (status == 200) {
        const QVariant length = m_NetworkReply->header(QNetworkRequest::ContentLengthHeader);
        m_announcedTotal = length.isValid() ? length.toLongLong() : -1;
        restartFromZero();
        return Accepted;
    }
    if (status == 206) {
        // Only bytes that continue the partial file exactly may be appended.
        if (range.first != startByte)
            return Rejected;
        m_announcedTotal = range.total;
        if (startByte == 0)
            beginVersion();
        return Accepted;
    }
    // Asked for what follows the last byte: the partial file already holds
    // the whole package (the last run ended before moving it).
    if (status == 416 && startByte > 0 && range.total == startByte)
        return AlreadyComplete;
    return Rejected;
}

// The server sends the whole package: what the partial file held is dropped.
void HttpManger::restartFromZero()
{
    m_File->resize(0);
    startByte = 0;
    beginVersion();
}

// The first bytes of the package as the server has it now: its size is
// learned afresh and its validator kept for later resumes.
void HttpManger::beginVersion()
{
    m_pDLFileInfo->m_currentSize = 0;
    m_pDLFileInfo->m_totalSize = 0;
    m_validator = validatorOf(*m_NetworkReply);
    emit UpDateValidator(m_pDLFileInfo->m_fileName, m_validator);
}

void HttpManger::HttpMetaData()
{
    takeAnswer();
}

void HttpManger::HttpReadyRead()
{
    if (!takeAnswer())
        return;
    const QByteArray data = m_NetworkReply->readAll();
    if (data.isEmpty())
        return;
    if (m_File->write(data) != data.size()) {
        fail(tr("cannot write the partial file: %1").arg(m_File->errorString()));
        return;
    }
    m_pDLFileInfo->m_currentSize = m_File->pos();
    if (++num % ChunksPerUpdate == 0)
        emit UpDate(m_pDLFileInfo->m_fileName);
}

void HttpManger::GetTotalSize(qint64 bytesReceived, qint64 bytesTotal)
{
    Q_UNUSED(bytesReceived)
    if (!takeAnswer() || m_pDLFileInfo->m_totalSize != 0 || bytesTotal <= 0)
        return;
    // The answer carries the bytes from startByte on.
    m_pDLFileInfo->m_totalSize = startByte + bytesTotal;
    emit UpDateTotalSize(m_pDLFileInfo->m_fileName);
}

void HttpManger::HttpFinished()
{
    if (!m_running || !m_NetworkReply)
        return;
    if (!takeAnswer()) {
        if (m_running)
            fail(tr("no usable answer"));
        return;
    }
    if (m_NetworkReply->error() != QNetworkReply::NoError) {
        fail(m_NetworkReply->errorString());
        return;
    }
    HttpReadyRead();
    if (m_running)
        finish();
}

void HttpManger::HttpError(QNetworkReply::NetworkError code)
{
    Q_UNUSED(code)
    if (m_NetworkReply)
        fail(m_NetworkReply->errorString());
}

void HttpManger::finish()
{
    if (!m_running)
        return;
    releaseReply();
    const qint64 size = closePartialFile();
    if (!sizeMatches(size)) {
        fail(tr("the package holds %1 bytes, not the %2 announced")
                 .arg(size)
                 .arg(m_pDLFileInfo->m_totalSize));
        return;
    }
    const QString fileName = m_pDLFileInfo->m_fileName;
    // rename() replaces an earlier package atomically; QFile::rename would
    // refuse an existing target.
    if (std::rename(QFile::encodeName(partialPath(fileName)).constData(),
                    QFile::encodeName(packagePath(fileName)).constData()) != 0) {
        fail(tr("cannot move the partial file to %1").arg(packagePath(fileName)));
        return;
    }
    m_running = false;
    m_pDLFileInfo->m_currentSize = size;
    m_pDLFileInfo->m_state = DLFileInfo::EComplete;
    emit UpDate(fileName);
}

void HttpManger::fail(const QString &why)
{
    if (!m_running)
        return;
    m_running = false;
    releaseReply();
    closePartialFile();
    m_pDLFileInfo->m_state = DLFileInfo::EFailed;
    emit RequestError(why);
    emit UpDate(m_pDLFileInfo->m_fileName);
}

bool HttpManger::sizeMatches(qint64 size) const
{
    const qint64 total = m_pDLFileInfo->m_totalSize;
    return size >= 0 && (total <= 0 || size == total) &&
           (m_announcedTotal < 0 || size == m_announcedTotal);
}

void HttpManger::releaseReply()
{
    if (!m_NetworkReply)
        return;
    QNetworkReply *reply = std::exchange(m_NetworkReply, nullptr);
    reply->disconnect(this);
    // Deleting a running reply aborts its request. abort() would race the
    // error the network thread may already have sent about the same answer.
    reply->deleteLater();
}

// The partial file's size, or -1 when it was not open.
qint64 HttpManger::closePartialFile()
{
    if (!m_File || !m_File->isOpen())
        return -1;
    const qint64 size = m_File->size();
    m_File->close();
    m_File.reset();
    return size;
}
