#ifndef STORESERVER_H
#define STORESERVER_H

#include "storeanswers.h"

#include <QString>
#include <memory>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

class StoreCatalogue;
class StoreLedger;

// The store on the wire: the "/vorelreader/*.action" requests, the package
// links with byte ranges, and the simulated carrier's SMS gateway at
// "/sms/send". Requests are served on the HTTP library's worker threads.
class StoreServer
{
public:
    StoreServer(const StoreCatalogue &catalogue, StoreLedger &ledger);
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
    void installRoutes();
    void serveAction(const httplib::Request &request, httplib::Response &response);
    void servePackage(const httplib::Request &request, httplib::Response &response);
    void serveSmsGateway(const httplib::Request &request, httplib::Response &response);
    QString baseUrl(const httplib::Request &request) const;
    static StoreQuery queryOf(const httplib::Request &request);
    static void send(httplib::Response &response, const StoreReply &reply);
    static void log(const httplib::Request &request, const httplib::Response &response);

    std::unique_ptr<httplib::Server> m_http;
    StoreAnswers m_answers;
    QString m_host;
    int m_port = 0;
};

#endif // STORESERVER_H
