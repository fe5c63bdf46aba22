#include "httpresponsewriter.h"

#include "httprequest.h"
#include "httpresponse.h"

#include <cerrno>
#include <ctime>
#include <sys/sendfile.h>
#include <sys/socket.h>

namespace {
constexpr qint64 FileChunk = 1024 * 1024;
} // namespace

const char *HttpResponseWriter::reason(int status)
{
    switch (status) {
    case 100:
        return "Continue";
    case 200:
        return "OK";
    case 206:
        return "Partial Content";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 413:
        return "Content Too Large";
    case 414:
        return "URI Too Long";
    case 416:
        return "Range Not Satisfiable";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Unknown";
    }
}

QByteArray HttpResponseWriter::httpDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[40];
    const size_t length = std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts);
    return QByteArray(text, qsizetype(length));
}

QByteArray HttpResponseWriter::head(const HttpRequest &request, const HttpResponse &response,
                                    bool keepAlive)
{
    QByteArray text = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
                      reason(response.status) + "\r\nDate: " + httpDate() + "\r\n";
    if (!response.contentType.isEmpty())
        text += "Content-Type: " + response.contentType + "\r\n";
    text += "Content-Length: " + QByteArray::number(response.contentLength()) + "\r\n";
    for (const auto &field : response.headers)
        text += field.first + ": " + field.second + "\r\n";
    // HTTP/1.1 keeps connections open unless told; HTTP/1.0 closes unless told.
    if (!keepAlive)
        text += "Connection: close\r\n";
    else if (request.minorVersion == 0)
        text += "Connection: keep-alive\r\n";
    return text + "\r\n";
}

void HttpResponseWriter::start(const HttpRequest &request, HttpResponse &response, bool keepAlive)
{
    m_status = response.status;
    m_bytes = head(request, response, keepAlive);
    m_headSize = m_bytes.size();
    m_sent = 0;
    m_fileSent = 0;
    m_file.reset();
    if (request.method == "HEAD")
        return;
    // The head and a body in memory go out in one write: two writes of one
    // answer cost a delayed acknowledgement on a reused connection.
    m_bytes += response.body;
    m_file = std::move(response.file);
    m_fileOffset = response.fileOffset;
    m_fileEnd = response.fileOffset + response.fileLength;
}

HttpResponseWriter::Progress HttpResponseWriter::pump(int socket)
{
    const Progress bytes = pumpBytes(socket);
    if (bytes != Done || !m_file)
        return bytes;
    const Progress file = pumpFile(socket);
    if (file == Done)
        m_file.reset();
    return file;
}

bool HttpResponseWriter::writeNow(int socket, const QByteArray &bytes)
{
    return ::send(socket, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL | MSG_DONTWAIT) ==
           bytes.size();
}

HttpResponseWriter::Progress HttpResponseWriter::stalled(ssize_t written)
{
    if (written < 0 && errno == EINTR)
        return Blocked;
    // Nothing written and no error: the file shrank under us.
    return written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) ? Blocked : Failed;
}

HttpResponseWriter::Progress HttpResponseWriter::pumpBytes(int socket)
{
    while (m_sent < m_bytes.size()) {
        const ssize_t written =
            ::send(socket, m_bytes.constData() + m_sent, size_t(m_bytes.size() - m_sent),
                   MSG_NOSIGNAL | MSG_DONTWAIT);
        if (written <= 0)
            return stalled(written);
        m_sent += written;
    }
    return Done;
}

HttpResponseWriter::Progress HttpResponseWriter::pumpFile(int socket)
{
    while (m_fileOffset < m_fileEnd) {
        off_t position = off_t(m_fileOffset);
        const ssize_t written =
            ::sendfile(socket, m_file->handle(), &position,
                       size_t(qMin<qint64>(m_fileEnd - m_fileOffset, FileChunk)));
        if (written <= 0)
            return stalled(written);
        m_fileOffset += written;
        m_fileSent += written;
    }
    return Done;
}
