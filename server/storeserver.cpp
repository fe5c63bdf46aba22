#include "storeserver.h"

#include "byterange.h"
#include "packageversion.h"
#include "storebook.h"
#include "storedocument.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrlQuery>
#include <cstdio>
#include <httplib.h>
#include <sys/socket.h>

namespace {
constexpr qint64 ChunkSize = 64 * 1024;
constexpr size_t RequestBodyLimit = 64 * 1024;
const char *const XmlType = "text/xml; charset=utf-8";
} // namespace

StoreServer::StoreServer(const StoreCatalogue &catalogue, StoreLedger &ledger)
    : m_http(std::make_unique<httplib::Server>()), m_answers(catalogue, ledger)
{
    installRoutes();
}

StoreServer::~StoreServer() = default;

int StoreServer::bind(const QString &host, int port)
{
    m_host = host;
    const std::string address = host.toStdString();
    if (port == 0) {
        m_port = m_http->bind_to_any_port(address);
        return m_port > 0 ? m_port : -1;
    }
    m_port = port;
    return m_http->bind_to_port(address, port) ? port : -1;
}

bool StoreServer::listen()
{
    return m_http->listen_after_bind();
}

bool StoreServer::isRunning() const
{
    return m_http->is_running();
}

void StoreServer::stop()
{
    m_http->stop();
}

void StoreServer::installRoutes()
{
    m_http->set_payload_max_length(RequestBodyLimit);
    // Stopping waits for idle keep-alive connections to time out.
    m_http->set_keep_alive_timeout(1);
    // The library's default also sets SO_REUSEPORT, which lets a second
    // store bind the same port and silently take half the requests.
    m_http->set_socket_options([](socket_t socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    });
    // The library slices bodies by the parsed Range itself and gets a range
    // past the end wrong; packages apply ranges here instead, and no other
    // answer is ranged. The request object is not const where it lives.
    m_http->set_pre_routing_handler([](const httplib::Request &request, httplib::Response &) {
        const_cast<httplib::Request &>(request).ranges.clear();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    m_http->Get(R"(/vorelreader/([A-Za-z_]+)\.action)",
                [this](const httplib::Request &request, httplib::Response &response) {
                    serveAction(request, response);
                });
    m_http->Post("/sms/send", [this](const httplib::Request &request, httplib::Response &response) {
        serveSmsGateway(request, response);
    });
    // Whatever the library refuses on its own still gets a store document.
    const httplib::Server::HandlerWithResponse fillError = [](const httplib::Request &,
                                                              httplib::Response &response) {
        if (!response.body.empty() || response.content_length_ > 0)
            return httplib::Server::HandlerResponse::Unhandled;
        const QString detail =
            response.status == 404
                ? QStringLiteral("%1 unknown action").arg(StoreAnswers::UnknownAction)
                : QStringLiteral("%1 bad request").arg(StoreAnswers::BadParameter);
        const QByteArray body = StoreDocument::error(QStringLiteral("vr"), 400, detail);
        response.set_content(body.constData(), size_t(body.size()), XmlType);
        return httplib::Server::HandlerResponse::Handled;
    };
    m_http->set_error_handler(fillError);
    m_http->set_logger(&StoreServer::log);
}

void StoreServer::serveAction(const httplib::Request &request, httplib::Response &response)
{
    const std::string action = request.matches[1];
    const StoreQuery query = queryOf(request);
    if (action == "package") {
        servePackage(request, response);
    } else if (action == "library") {
        send(response, m_answers.library(query, baseUrl(request)));
    } else if (action == "search") {
        send(response, m_answers.search(query));
    } else if (action == "keywords") {
        send(response, m_answers.keywords(query));
    } else if (action == "bookinfo") {
        send(response, m_answers.bookInfo(query));
    } else if (action == "userlogin") {
        send(response, m_answers.login(query, baseUrl(request)));
    } else if (action == "myaccountinfo") {
        send(response, m_answers.account(query));
    } else if (action == "download") {
        send(response, m_answers.download(query, baseUrl(request)));
    } else if (action == "cover") {
        send(response, m_answers.cover(query));
    } else {
        send(response, StoreAnswers::unknownAction());
    }
}

void StoreServer::servePackage(const httplib::Request &request, httplib::Response &response)
{
    StoreReply refusal;
    const StoreBook *book = m_answers.packageBook(queryOf(request), &refusal);
    if (!book) {
        send(response, refusal);
        return;
    }
    // Sized now, not at start-up: the file is what gets sent.
    const QFileInfo info(book->packagePath);
    const qint64 size = info.size();
    auto file = std::make_shared<QFile>(book->packagePath);
    if (size < 1 || !file->open(QIODevice::ReadOnly)) {
        send(response, StoreReply{500, StoreDocument::error(QStringLiteral("vr"), 500), XmlType});
        return;
    }
    const PackageVersion version(info);
    response.set_header("Accept-Ranges", "bytes");
    response.set_header("ETag", version.etag().toStdString());
    response.set_header("Last-Modified", version.lastModified().toStdString());
    // A range of a package that changed since the client's copy would splice
    // two versions: such a client gets the whole package.
    const QByteArray ifRange = QByteArray::fromStdString(request.get_header_value("If-Range"));
    const QByteArray rangeHeader =
        version.rangeAllowed(ifRange) ? QByteArray::fromStdString(request.get_header_value("Range"))
                                      : QByteArray();
    const ByteRange range = ByteRange::parse(rangeHeader, size);
    if (range.kind() == ByteRange::Unsatisfiable) {
        response.set_header("Content-Range", range.contentRange().toStdString());
        send(response, StoreReply{416,
                                  StoreDocument::error(QStringLiteral("vr"), 400,
                                                       QStringLiteral("%1 range not satisfiable")
                                                           .arg(StoreAnswers::BadParameter)),
                                  XmlType});
        return;
    }
    const bool partial = range.kind() == ByteRange::Partial;
    const qint64 first = partial ? range.first() : 0;
    const qint64 length = partial ? range.length() : size;
    response.status = partial ? 206 : 200;
    if (partial)
        response.set_header("Content-Range", range.contentRange().toStdString());
    response.set_content_provider(
        size_t(length), "application/vbp",
        [file, first](size_t offset, size_t remaining, httplib::DataSink &sink) {
            const qint64 count = qMin<qint64>(qint64(remaining), ChunkSize);
            if (!file->seek(first + qint64(offset)))
                return false;
            const QByteArray chunk = file->read(count);
            if (chunk.size() != count)
                return false;
            return sink.write(chunk.constData(), size_t(chunk.size()));
        });
}

void StoreServer::serveSmsGateway(const httplib::Request &request, httplib::Response &response)
{
    StoreQuery form = queryOf(request);
    const std::string type = request.get_header_value("Content-Type");
    if (type.find("application/json") == 0) {
        const QJsonObject object =
            QJsonDocument::fromJson(QByteArray::fromStdString(request.body)).object();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            form.insert(it.key(), it.value().toString());
    } else if (type.find("application/x-www-form-urlencoded") == 0) {
        // "+" stands for a space in form bodies.
        QString body = QString::fromUtf8(QByteArray::fromStdString(request.body));
        body.replace(QLatin1Char('+'), QLatin1Char(' '));
        const QUrlQuery fields(body);
        for (const auto &field : fields.queryItems(QUrl::FullyDecoded))
            form.insert(field.first, field.second);
    }
    send(response, m_answers.smsGateway(form));
}

QString StoreServer::baseUrl(const httplib::Request &request) const
{
    // Links go back to the address the client used, when it is a plain one.
    const QRegularExpression plainHost(
        QStringLiteral(R"(^([A-Za-z0-9.-]+|\[[0-9A-Fa-f:.]+\])(:[0-9]{1,5})?$)"));
    QString host = QString::fromStdString(request.get_header_value("Host"));
    if (!plainHost.match(host).hasMatch())
        host = QStringLiteral("%1:%2").arg(m_host).arg(m_port);
    return QStringLiteral("http://%1/vorelreader/").arg(host);
}

StoreQuery StoreServer::queryOf(const httplib::Request &request)
{
    StoreQuery query;
    for (const auto &param : request.params) {
        const QString name = QString::fromStdString(param.first);
        // The first of repeated names counts.
        if (!query.contains(name))
            query.insert(name, QString::fromStdString(param.second));
    }
    return query;
}

void StoreServer::send(httplib::Response &response, const StoreReply &reply)
{
    response.status = reply.status;
    response.set_content(reply.body.constData(), size_t(reply.body.size()),
                         reply.contentType.toStdString());
}

void StoreServer::log(const httplib::Request &request, const httplib::Response &response)
{
    const size_t bytes = response.body.empty() ? response.content_length_ : response.body.size();
    std::string target = request.target.empty() ? request.path : request.target;
    for (char &c : target) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    std::fprintf(stderr, "%s %s %d %zu\n", request.method.c_str(), target.c_str(), response.status,
                 bytes);
}
