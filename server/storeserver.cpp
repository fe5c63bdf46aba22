#include "storeserver.h"

#include "byterange.h"
#include "httprequestparser.h"
#include "httpresponsewriter.h"
#include "httpserver.h"
#include "packageversion.h"
#include "storebook.h"
#include "storedocument.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <cstdio>

namespace {
const char *const XmlType = "text/xml; charset=utf-8";
const QString ActionPrefix = QStringLiteral("/vorelreader/");
const QString ActionSuffix = QStringLiteral(".action");

QByteArray storeError(int detail, const QString &message)
{
    return StoreDocument::error(QStringLiteral("vr"), 400,
                                QStringLiteral("%1 %2").arg(detail).arg(message));
}

StoreReply xmlReply(int status, const QByteArray &body)
{
    StoreReply reply;
    reply.status = status;
    reply.body = body;
    reply.contentType = XmlType;
    return reply;
}

// The internal location a front server maps onto a folder of files.
QByteArray internalLocation(const char *folder, const QString &fileName)
{
    return QByteArray(folder) + QUrl::toPercentEncoding(fileName);
}
} // namespace

StoreServer::StoreServer(const StoreCatalogue &catalogue, StoreLedger &ledger,
                         const Settings &settings)
    : m_answers(catalogue, ledger), m_settings(settings)
{
    m_http = std::make_unique<HttpServer>(
        settings.limits,
        [this](const HttpRequest &request, HttpResponse &response) { handle(request, response); });
    m_http->setErrorPage(&StoreServer::errorPage);
    m_http->setLogger(&StoreServer::log);
}

StoreServer::~StoreServer() = default;

int StoreServer::bind(const QString &host, int port)
{
    const int bound = m_http->bind(host, port);
    if (bound > 0 && m_settings.publicUrl.isEmpty()) {
        const QString shown = host.contains(QLatin1Char(':')) ? '[' + host + ']' : host;
        m_settings.publicUrl = QStringLiteral("http://%1:%2/").arg(shown).arg(bound);
    }
    return bound;
}

bool StoreServer::listen()
{
    return m_http->listen();
}

bool StoreServer::isRunning() const
{
    return m_http->isRunning();
}

void StoreServer::stop()
{
    m_http->stop();
}

QString StoreServer::linkBase() const
{
    // Never the Host header: a client must not choose where links point.
    return m_settings.publicUrl + QStringLiteral("vorelreader/");
}

QString StoreServer::actionOf(const QString &path)
{
    if (!path.startsWith(ActionPrefix) || !path.endsWith(ActionSuffix))
        return {};
    const QString action =
        path.mid(ActionPrefix.size(), path.size() - ActionPrefix.size() - ActionSuffix.size());
    for (const QChar c : action) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           c == QLatin1Char('_');
        if (!plain)
            return {};
    }
    return action;
}

void StoreServer::handle(const HttpRequest &request, HttpResponse &response)
{
    const bool reading = request.method == "GET" || request.method == "HEAD";
    const QString action = actionOf(request.path);
    if (!action.isEmpty()) {
        if (reading)
            serveAction(action, request, response);
        else
            refuseMethod(response, "GET, HEAD");
        return;
    }
    if (request.path == QLatin1String("/sms/send")) {
        if (request.method == "POST")
            serveSmsGateway(request, response);
        else
            refuseMethod(response, "POST");
        return;
    }
    send(response, StoreAnswers::unknownAction());
}

void StoreServer::refuseMethod(HttpResponse &response, const QByteArray &allowed)
{
    send(response, xmlReply(405, storeError(StoreAnswers::BadParameter,
                                            QStringLiteral("method not allowed"))));
    response.setHeader("Allow", allowed);
}

void StoreServer::errorPage(int status, HttpResponse &response)
{
    const QString reason = QString::fromLatin1(HttpResponseWriter::reason(status)).toLower();
    send(response, xmlReply(status, storeError(StoreAnswers::BadParameter, reason)));
}

void StoreServer::serveAction(const QString &action, const HttpRequest &request,
                              HttpResponse &response)
{
    const StoreQuery query = queryOf(request);
    if (action == QLatin1String("package"))
        servePackage(request, response);
    else if (action == QLatin1String("cover"))
        serveCover(request, response);
    else if (action == QLatin1String("library"))
        send(response, m_answers.library(query, linkBase()));
    else if (action == QLatin1String("search"))
        send(response, m_answers.search(query));
    else if (action == QLatin1String("keywords"))
        send(response, m_answers.keywords(query));
    else if (action == QLatin1String("bookinfo"))
        send(response, m_answers.bookInfo(query));
    else if (action == QLatin1String("userlogin"))
        send(response, m_answers.login(query, linkBase()));
    else if (action == QLatin1String("myaccountinfo"))
        send(response, m_answers.account(query));
    else if (action == QLatin1String("download"))
        send(response, m_answers.download(query, linkBase()));
    else
        send(response, StoreAnswers::unknownAction());
}

void StoreServer::serveCover(const HttpRequest &request, HttpResponse &response)
{
    const StoreReply reply = m_answers.cover(queryOf(request));
    if (!m_settings.accelRedirect || reply.status != 200) {
        send(response, reply);
        return;
    }
    response.setHeader("X-Accel-Redirect", internalLocation("/_covers/", reply.fileName));
}

void StoreServer::servePackage(const HttpRequest &request, HttpResponse &response)
{
    StoreReply refusal;
    const StoreBook *book = m_answers.packageBook(queryOf(request), &refusal);
    if (!book) {
        send(response, refusal);
        return;
    }
    if (m_settings.accelRedirect) {
        response.setHeader(
            "X-Accel-Redirect",
            internalLocation("/_packages/", QFileInfo(book->packagePath).fileName()));
        return;
    }
    sendPackage(request, *book, response);
}

void StoreServer::sendPackage(const HttpRequest &request, const StoreBook &book,
                              HttpResponse &response)
{
    // Sized now, not at start-up: the file is what gets sent.
    auto file = std::make_unique<QFile>(book.packagePath);
    const QFileInfo info(book.packagePath);
    const qint64 size = info.size();
    if (size < 1 || !file->open(QIODevice::ReadOnly)) {
        send(response, xmlReply(500, StoreDocument::error(QStringLiteral("vr"), 500)));
        return;
    }
    const PackageVersion version(info);
    response.setHeader("Accept-Ranges", "bytes");
    response.setHeader("ETag", version.etag());
    response.setHeader("Last-Modified", version.lastModified());
    // A range of a package that changed since the client's copy would splice
    // two versions: such a client gets the whole package.
    const QByteArray rangeHeader =
        version.rangeAllowed(request.header("If-Range")) ? request.header("Range") : QByteArray();
    const ByteRange range = ByteRange::parse(rangeHeader, size);
    if (range.kind() == ByteRange::Unsatisfiable) {
        send(response, xmlReply(416, storeError(StoreAnswers::BadParameter,
                                                QStringLiteral("range not satisfiable"))));
        response.setHeader("Content-Range", range.contentRange());
        return;
    }
    const bool partial = range.kind() == ByteRange::Partial;
    response.status = partial ? 206 : 200;
    response.contentType = "application/vbp";
    if (partial)
        response.setHeader("Content-Range", range.contentRange());
    response.fileOffset = partial ? range.first() : 0;
    response.fileLength = partial ? range.length() : size;
    response.file = std::move(file);
}

void StoreServer::serveSmsGateway(const HttpRequest &request, HttpResponse &response)
{
    StoreQuery form = queryOf(request);
    const QByteArray type = request.header("Content-Type");
    if (type.startsWith("application/json")) {
        const QJsonObject object = QJsonDocument::fromJson(request.body).object();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            form.insert(it.key(), it.value().toString());
    } else if (type.startsWith("application/x-www-form-urlencoded")) {
        for (const auto &field : HttpRequestParser::readForm(request.body))
            form.insert(field.first, field.second);
    }
    send(response, m_answers.smsGateway(form));
}

StoreQuery StoreServer::queryOf(const HttpRequest &request)
{
    StoreQuery query;
    // The first of repeated names counts.
    for (const auto &param : request.query) {
        if (!query.contains(param.first))
            query.insert(param.first, param.second);
    }
    return query;
}

void StoreServer::send(HttpResponse &response, const StoreReply &reply)
{
    response.status = reply.status;
    response.body = reply.body;
    response.contentType = reply.contentType;
}

void StoreServer::log(const HttpRequest &request, int status, qint64 sent, bool complete)
{
    QByteArray target = request.target.isEmpty() ? QByteArray("-") : request.target;
    for (char &c : target) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    // The bytes that went out; an answer cut short says so.
    std::fprintf(stderr, "%s %s %d %lld%s\n",
                 request.method.isEmpty() ? "-" : request.method.constData(), target.constData(),
                 status, static_cast<long long>(sent), complete ? "" : " aborted");
}
