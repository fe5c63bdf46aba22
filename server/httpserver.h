#ifndef HTTPSERVER_H
#define HTTPSERVER_H

#include "httplimits.h"
#include "httprequestparser.h"
#include "httpresponse.h"
#include "httpresponsewriter.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct HttpConnection;

// A small HTTP/1.1 server. One thread reads every connection without
// blocking and hands only complete requests to the workers; what a socket
// does not take of an answer at once, that thread sends as the client reads
// it. So slow, idle or flooding clients, and slow readers, cost a bounded
// buffer each but never hold a worker.
// Request heads are capped in size and field count, reading a request and
// waiting between requests have deadlines, and stopping does not wait on
// any client.
class HttpServer
{
public:
    using Handler = std::function<void(const HttpRequest &, HttpResponse &)>;
    // After every answer: the body bytes that actually went out, and whether
    // that was all of it.
    using Logger = std::function<void(const HttpRequest &, int status, qint64 sent, bool complete)>;
    // Fills the answer to a request refused before it reached the handler.
    using ErrorPage = std::function<void(int status, HttpResponse &)>;

    HttpServer(const HttpLimits &limits, Handler handler);
    ~HttpServer();
    HttpServer(const HttpServer &) = delete;
    HttpServer &operator=(const HttpServer &) = delete;

    void setLogger(Logger logger) { m_logger = std::move(logger); }
    void setErrorPage(ErrorPage page) { m_errorPage = std::move(page); }

    // Binds the listening socket; port 0 picks a free one. Returns the port,
    // or -1 when the address cannot be bound.
    int bind(const QString &host, int port);
    // Serves on the calling thread until stop(); false when it cannot start.
    bool listen();
    bool isRunning() const { return m_running; }
    // From any thread.
    void stop();

private:
    using Owned = std::unique_ptr<HttpConnection>;

    // The reading thread.
    void run();
    bool watch(int fd, int operation, uint32_t events);
    void acceptConnections();
    bool makeRoom();
    void readFrom(int fd);
    void advance(int fd);
    void refuse(HttpConnection &connection, int status);
    void dispatch(int fd);
    void takeBack();
    void readNext(int fd);
    void writeTo(int fd);
    void logAnswer(const HttpConnection &connection, bool complete) const;
    void sweep(qint64 now);
    void closeConnection(int fd);
    void shutDown();

    // The workers.
    void work();
    HttpResponseWriter::Progress serve(HttpConnection &connection);
    void giveBack(Owned connection);

    static qint64 now();

    HttpLimits m_limits;
    Handler m_handler;
    Logger m_logger;
    ErrorPage m_errorPage;
    HttpRequestParser m_parser;
    int m_listener = -1;
    int m_epoll = -1;
    int m_wake = -1;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stopping{false};
    bool m_acceptPaused = false;
    int m_maxConnections = 0;

    // Connections being read, by socket: the reading thread's alone.
    std::unordered_map<int, Owned> m_reading;

    std::mutex m_mutex;
    std::condition_variable m_wakeWorkers;
    std::deque<Owned> m_queue;
    std::unordered_set<int> m_busy;
    std::vector<Owned> m_returned;
    std::vector<std::thread> m_workers;
};

#endif // HTTPSERVER_H
