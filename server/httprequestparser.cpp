#include "httprequestparser.h"

namespace {
HttpRequestParser::Head refused(int status)
{
    HttpRequestParser::Head head;
    head.outcome = HttpRequestParser::Refused;
    head.status = status;
    return head;
}

// Control characters other than a tab have no place in a head.
bool plainText(const QByteArray &text)
{
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7f)
            return false;
    }
    return true;
}

bool allDigits(const QByteArray &text)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}
} // namespace

HttpRequestParser::Head HttpRequestParser::read(const QByteArray &buffer,
                                                HttpRequest *request) const
{
    QByteArrayList lines;
    Head head = splitLines(buffer, &lines);
    if (head.outcome != Complete)
        return head;
    if (lines.first().size() > m_limits.maxRequestLineBytes)
        return refused(414);
    *request = HttpRequest();
    int status = 400;
    if (!readRequestLine(lines.first(), request, &status))
        return refused(status);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!readField(lines.at(i), request))
            return refused(400);
    }
    status = checkFraming(*request, &head.bodyLength);
    if (status != 0)
        return refused(status);
    readConnection(request);
    readTarget(request);
    return head;
}

HttpRequestParser::Head HttpRequestParser::splitLines(const QByteArray &buffer,
                                                      QByteArrayList *lines) const
{
    // Empty lines before a request are tolerated, as clients send them after
    // a body.
    qint64 start = 0;
    while (start < buffer.size() && start < 4 && (buffer[start] == '\r' || buffer[start] == '\n'))
        ++start;
    qint64 position = start;
    while (true) {
        const qint64 newline = buffer.indexOf('\n', position);
        if (newline < 0)
            return incomplete(buffer, start);
        QByteArray line = buffer.mid(position, newline - position);
        if (line.endsWith('\r'))
            line.chop(1);
        position = newline + 1;
        if (position - start > m_limits.maxHeadBytes)
            return refused(431);
        if (line.isEmpty())
            break;
        // The request line and maxHeaderCount fields.
        if (lines->size() > m_limits.maxHeaderCount)
            return refused(431);
        lines->append(line);
    }
    Head head;
    head.outcome = Complete;
    head.headLength = position;
    return head;
}

HttpRequestParser::Head HttpRequestParser::incomplete(const QByteArray &buffer, qint64 start) const
{
    const qint64 pending = buffer.size() - start;
    if (buffer.indexOf('\n', start) < 0 && pending > m_limits.maxRequestLineBytes)
        return refused(414);
    if (pending > m_limits.maxHeadBytes)
        return refused(431);
    if (buffer.count('\n') > m_limits.maxHeaderCount + 1)
        return refused(431);
    return Head();
}

bool HttpRequestParser::isToken(const QByteArray &text)
{
    static const QByteArray marks = "!#$%&'*+-.^_`|~";
    if (text.isEmpty())
        return false;
    for (char c : text) {
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum && !marks.contains(c))
            return false;
    }
    return true;
}

bool HttpRequestParser::readRequestLine(const QByteArray &line, HttpRequest *request, int *status)
{
    const QByteArrayList parts = line.split(' ');
    if (parts.size() != 3 || !isToken(parts.at(0)) || !parts.at(1).startsWith('/') ||
        !plainText(parts.at(1)) || parts.at(1).contains('\t'))
        return false;
    const QByteArray &version = parts.at(2);
    if (version == "HTTP/1.1" || version == "HTTP/1.0") {
        request->method = parts.at(0);
        request->target = parts.at(1);
        request->minorVersion = version.back() - '0';
        return true;
    }
    // Another version we do not speak, or no version at all.
    const bool otherVersion = version.size() == 8 && version.startsWith("HTTP/") &&
                              version[6] == '.' && QChar::isDigit(version[5]) &&
                              QChar::isDigit(version[7]);
    *status = otherVersion ? 505 : 400;
    return false;
}

bool HttpRequestParser::readField(const QByteArray &line, HttpRequest *request)
{
    // A continuation line (obsolete folding) or a line without a name is
    // refused: proxies might read it differently and smuggle a request.
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return false;
    const QByteArray name = line.left(colon);
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (!isToken(name) || !plainText(value))
        return false;
    request->headers.append({name, value});
    return true;
}

int HttpRequestParser::checkFraming(const HttpRequest &request, qint64 *bodyLength) const
{
    const int hosts = request.headerCount("Host");
    if (hosts > 1 || (request.minorVersion == 1 && hosts == 0))
        return 400;
    // Chunked request bodies are not read; nothing the store takes needs one.
    if (request.hasHeader("Transfer-Encoding"))
        return 501;
    *bodyLength = 0;
    bool seen = false;
    for (const auto &field : request.headers) {
        if (field.first.compare("Content-Length", Qt::CaseInsensitive) != 0)
            continue;
        if (!allDigits(field.second))
            return 400;
        const qint64 length = field.second.toLongLong();
        if (seen && length != *bodyLength)
            return 400;
        *bodyLength = length;
        seen = true;
    }
    return *bodyLength > m_limits.maxBodyBytes ? 413 : 0;
}

void HttpRequestParser::readConnection(HttpRequest *request)
{
    const QByteArray options = request->header("Connection").toLower();
    bool close = false;
    bool keep = false;
    for (const QByteArray &option : options.split(',')) {
        close = close || option.trimmed() == "close";
        keep = keep || option.trimmed() == "keep-alive";
    }
    // HTTP/1.0 closes unless the client asks otherwise.
    request->keepAlive = request->minorVersion == 1 ? !close : keep && !close;
}

void HttpRequestParser::readTarget(HttpRequest *request)
{

    const qsizetype mark = request->target.indexOf('?');
    request->path = decode(mark < 0 ? request->target : request->target.left(mark), false);
    if (mark >= 0)
        request->query = readForm(request->target.mid(mark + 1));
}

QList<QPair<QString, QString>> HttpRequestParser::readForm(const QByteArray &text)
{
    QList<QPair<QString, QString>> fields;
    for (const QByteArray &pair : text.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        const QString name = decode(equals < 0 ? pair : pair.left(equals), true);
        if (!name.isEmpty())
            fields.append({name, equals < 0 ? QString() : decode(pair.mid(equals + 1), true)});
    }
    return fields;
}

QString HttpRequestParser::decode(QByteArray text, bool plusIsSpace)
{
    // Before decoding, so that an encoded "+" stays one.
    if (plusIsSpace)
        text.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}
