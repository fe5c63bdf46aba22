#ifndef STORESERVER_H
#define STORESERVER_H

#include "httplimits.h"
#include "storeanswers.h"

#include <QString>
#include <memory>

class HttpServer;
class StoreCatalogue;
class StoreLedger;
struct HttpRequest;
struct HttpResponse;

// The store on the wire: the "/vorelreader/*.action" requests, the package
// links with byte ranges, and the simulated carrier's SMS gateway at
// "/sms/send". Requests are answered on the HTTP server's worker threads.
class StoreServer
{
public:
    struct Settings
    {
        // The base of every link handed out, ending in "/"; empty: the
        // listening address.
        QString publicUrl;
        // Bytes of packages and covers are left to a front server: an
        // allowed request is answered with the internal location to serve.
        bool accelRedirect = false;
        HttpLimits limits;
    };

    StoreServer(const StoreCatalogue &catalogue, StoreLedger &ledger, const Settings &settings);
    ~StoreServer();
    StoreServer(const StoreServer &) = delete;
    StoreServer &operator=(const StoreServer &) = delete;

    // Binds the listening socket; port 0 picks a free one. Returns the port,
    // or -1 when the address cannot be bound.
    int bind(const QString &host, int port);
    // Serves until stop(); false when serving could not start.
    bool listen();
    bool isRunning() const;
    void stop();

private:
    void handle(const HttpRequest &request, HttpResponse &response);
    void serveAction(const QString &action, const HttpRequest &request, HttpResponse &response);
    void servePackage(const HttpRequest &request, HttpResponse &response);
    void sendPackage(const HttpRequest &request, const StoreBook &book, HttpResponse &response);
    void serveCover(const HttpRequest &request, HttpResponse &response);
    void serveSmsGateway(const HttpRequest &request, HttpResponse &response);
    QString linkBase() const;
    static QString actionOf(const QString &path);
    static void refuseMethod(HttpResponse &response, const QByteArray &allowed);
    static void errorPage(int status, HttpResponse &response);
    static StoreQuery queryOf(const HttpRequest &request);
    static void send(HttpResponse &response, const StoreReply &reply);
    static void log(const HttpRequest &request, int status, qint64 sent, bool complete);

    std::unique_ptr<HttpServer> m_http;
    StoreAnswers m_answers;
    Settings m_settings;
};

#endif // STORESERVER_H
