#include "httpserver.h"

#include "httpconnection.h"
#include "httpresponsewriter.h"

#include <cerrno>
#include <chrono>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int TickMs = 100;
constexpr int ReadChunk = 16 * 1024;
constexpr int AcceptBurst = 64;
constexpr int EventBatch = 256;
// How long a refused client may keep sending before it is cut off.
constexpr int LingerMs = 1000;
// Descriptors kept back for the ledger, packages and the log.
constexpr int ReservedFiles = 64;
} // namespace

HttpServer::HttpServer(const HttpLimits &limits, Handler handler)
    : m_limits(limits), m_handler(std::move(handler)), m_parser(limits)
{}

HttpServer::~HttpServer()
{
    stop();
    if (m_listener >= 0)
        ::close(m_listener);
    if (m_wake >= 0)
        ::close(m_wake);
}

qint64 HttpServer::now()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int HttpServer::bind(const QString &host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo *found = nullptr;
    const QByteArray service = QByteArray::number(port);
    if (::getaddrinfo(host.toUtf8().constData(), service.constData(), &hints, &found) != 0)
        return -1;
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, ::freeaddrinfo);
    for (const addrinfo *address = found; address; address = address->ai_next) {
        const int fd =
            ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            continue;
        // No SO_REUSEPORT: a second store on the same port must fail, not
        // silently take half the requests.
        const int yes = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(fd, address->ai_addr, address->ai_addrlen) == 0 &&
            ::listen(fd, m_limits.backlog) == 0) {
            m_listener = fd;
            break;
        }
        ::close(fd);
    }
    if (m_listener < 0)
        return -1;
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&bound), &length);
    return bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6 &>(bound).sin6_port)
                                       : ntohs(reinterpret_cast<sockaddr_in &>(bound).sin_port);
}

bool HttpServer::watch(int fd, int operation, uint32_t events)
{
    epoll_event event{};
    event.events = events;
    event.data.fd = fd;
    return ::epoll_ctl(m_epoll, operation, fd, &event) == 0;
}

bool HttpServer::listen()
{
    if (m_listener < 0 || m_stopping)
        return false;
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    m_wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_epoll < 0 || m_wake < 0 || !watch(m_listener, EPOLL_CTL_ADD, EPOLLIN) ||
        !watch(m_wake, EPOLL_CTL_ADD, EPOLLIN)) {
        shutDown();
        return false;
    }
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    m_maxConnections = int(qMin<rlim_t>(
        rlim_t(m_limits.maxConnections),
        files.rlim_cur > ReservedFiles * 2 ? files.rlim_cur - ReservedFiles : ReservedFiles));
    for (int i = 0; i < m_limits.workerCount; ++i)
        m_workers.emplace_back([this] { work(); });
    m_running = true;
    run();
    shutDown();
    return true;
}

void HttpServer::run()
{
    epoll_event events[EventBatch];
    qint64 nextSweep = now() + TickMs;
    while (!m_stopping) {
        const int count = ::epoll_wait(m_epoll, events, EventBatch, TickMs);
        for (int i = 0; i < count && !m_stopping; ++i) {
            const int fd = events[i].data.fd;
            if (fd == m_listener)
                acceptConnections();
            else if (fd == m_wake)
                takeBack();
            else if (m_reading.count(fd) && m_reading.at(fd)->writing)
                writeTo(fd);
            else
                readFrom(fd);
        }
        const qint64 time = now();
        if (time >= nextSweep) {
            sweep(time);
            nextSweep = time + TickMs;
        }
    }
}

void HttpServer::stop()
{
    m_stopping = true;
    if (m_wake >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
    }
}

void HttpServer::shutDown()
{
    m_running = false;
    m_reading.clear();
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.clear();
        m_returned.clear();
        // Answers still being written end now rather than at their client's pace.
        for (const int fd : m_busy)
            ::shutdown(fd, SHUT_RDWR);
    }
    m_wakeWorkers.notify_all();
    for (std::thread &worker : m_workers)
        worker.join();
    m_workers.clear();
    if (m_epoll >= 0)
        ::close(m_epoll);
    m_epoll = -1;
    ::close(m_listener);
    m_listener = -1;
}

void HttpServer::acceptConnections()
{
    for (int i = 0; i < AcceptBurst; ++i) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EMFILE || errno == ENFILE) {
                // Out of descriptors: stop taking connections until the
                // next sweep has closed some, rather than spin.
                ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, m_listener, nullptr);
                m_acceptPaused = true;
            }
            return;
        }
        auto connection = std::make_unique<HttpConnection>(fd);
        if (!makeRoom() || !watch(fd, EPOLL_CTL_ADD, EPOLLIN))
            continue;
        const int yes = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        connection->deadline = now() + m_limits.idleTimeoutMs;
        m_reading.emplace(fd, std::move(connection));
    }
}

bool HttpServer::makeRoom()
{
    if (int(m_reading.size()) < m_maxConnections)
        return true;
    // Full: the connection idle the longest gives way to the new one.
    int oldest = -1;
    qint64 oldestDeadline = 0;
    for (const auto &[fd, connection] : m_reading) {
        if (connection->requestStarted || connection->draining || connection->writing)
            continue;
        if (oldest < 0 || connection->deadline < oldestDeadline) {
            oldest = fd;
            oldestDeadline = connection->deadline;
        }
    }
    if (oldest < 0)
        return false;
    closeConnection(oldest);
    return true;
}

void HttpServer::closeConnection(int fd)
{
    ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, fd, nullptr);
    m_reading.erase(fd);
}

void HttpServer::readFrom(int fd)
{
    const auto found = m_reading.find(fd);
    if (found == m_reading.end())
        return;
    HttpConnection &connection = *found->second;
    char chunk[ReadChunk];
    const ssize_t count = ::recv(fd, chunk, sizeof chunk, 0);
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    if (count <= 0) {
        closeConnection(fd);
        return;
    }
    if (connection.draining)
        return;
    if (!connection.requestStarted) {
        connection.requestStarted = true;
        connection.deadline = now() + m_limits.readTimeoutMs;
    }
    connection.buffer.append(chunk, count);
    advance(fd);
}

void HttpServer::advance(int fd)
{
    HttpConnection &connection = *m_reading.at(fd);
    if (!connection.headRead) {
        const HttpRequestParser::Head head = m_parser.read(connection.buffer, &connection.request);
        if (head.outcome == HttpRequestParser::NeedMore)
            return;
        if (head.outcome == HttpRequestParser::Refused) {
            refuse(connection, head.status);
            return;
        }
        connection.buffer.remove(0, head.headLength);
        connection.headRead = true;
        connection.bodyLength = head.bodyLength;
        const bool waitsForBody = connection.buffer.size() < connection.bodyLength;
        if (waitsForBody &&
            connection.request.header("Expect").compare("100-continue", Qt::CaseInsensitive) == 0)
            HttpResponseWriter::writeNow(fd, "HTTP/1.1 100 Continue\r\n\r\n");
    }
    if (connection.buffer.size() < connection.bodyLength)
        return;
    connection.request.body = connection.buffer.left(connection.bodyLength);
    connection.buffer.remove(0, connection.bodyLength);
    dispatch(fd);
}

void HttpServer::refuse(HttpConnection &connection, int status)
{
    HttpResponse response;
    response.status = status;
    if (m_errorPage)
        m_errorPage(status, response);
    connection.request.keepAlive = false;
    const QByteArray bytes = HttpResponseWriter::head(connection.request, response, false) +
                             (connection.request.method == "HEAD" ? QByteArray() : response.body);
    const bool sent = HttpResponseWriter::writeNow(connection.socket, bytes);
    if (m_logger)
        m_logger(connection.request, status, sent ? response.body.size() : 0, sent);
    ::shutdown(connection.socket, SHUT_WR);
    connection.draining = true;
    connection.buffer.clear();
    connection.buffer.squeeze();
    connection.deadline = now() + LingerMs;
}

void HttpServer::dispatch(int fd)
{
    ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, fd, nullptr);
    Owned connection = std::move(m_reading.at(fd));
    m_reading.erase(fd);
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_busy.insert(fd);
        m_queue.push_back(std::move(connection));
    }
    m_wakeWorkers.notify_one();
}

void HttpServer::takeBack()
{
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(m_wake, &count, sizeof count);
    std::vector<Owned> returned;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        returned.swap(m_returned);
    }
    for (Owned &connection : returned) {
        const int fd = connection->socket;
        const bool writing = connection->writing;
        if (!watch(fd, EPOLL_CTL_ADD, writing ? EPOLLOUT : EPOLLIN))
            continue;
        connection->deadline = now() + m_limits.writeTimeoutMs;
        m_reading.emplace(fd, std::move(connection));
        if (!writing)
            readNext(fd);
    }
}

void HttpServer::readNext(int fd)
{
    HttpConnection &connection = *m_reading.at(fd);
    connection.reset();
    connection.writing = false;
    // Bytes sent ahead start the next request's read deadline at once.
    connection.requestStarted = !connection.buffer.isEmpty();
    connection.deadline =
        now() + (connection.requestStarted ? m_limits.readTimeoutMs : m_limits.idleTimeoutMs);
    if (connection.requestStarted)
        advance(fd);
}

void HttpServer::writeTo(int fd)
{
    HttpConnection &connection = *m_reading.at(fd);
    const qint64 before = connection.output.totalSent();
    const HttpResponseWriter::Progress progress = connection.output.pump(fd);
    if (progress == HttpResponseWriter::Blocked) {
        // A client that takes something keeps its connection.
        if (connection.output.totalSent() > before)
            connection.deadline = now() + m_limits.writeTimeoutMs;
        return;
    }
    logAnswer(connection, progress == HttpResponseWriter::Done);
    if (progress == HttpResponseWriter::Failed || !connection.keepAlive ||
        !watch(fd, EPOLL_CTL_MOD, EPOLLIN)) {
        closeConnection(fd);
        return;
    }
    readNext(fd);
}

void HttpServer::logAnswer(const HttpConnection &connection, bool complete) const
{
    if (m_logger)
        m_logger(connection.request, connection.output.status(), connection.output.bodyBytesSent(),
                 complete);
}

void HttpServer::sweep(qint64 time)
{
    std::vector<int> expired;
    for (const auto &[fd, connection] : m_reading) {
        if (connection->deadline <= time)
            expired.push_back(fd);
    }
    for (const int fd : expired) {
        HttpConnection &connection = *m_reading.at(fd);
        if (connection.writing) {
            logAnswer(connection, false);
            closeConnection(fd);
            continue;
        }
        // A request still arriving is told why it is cut off; an idle
        // connection or a refused one just closes.
        if (connection.requestStarted && !connection.draining)
            refuse(connection, 408);
        else
            closeConnection(fd);
    }
    if (m_acceptPaused && watch(m_listener, EPOLL_CTL_ADD, EPOLLIN))
        m_acceptPaused = false;
}

void HttpServer::work()
{
    while (true) {
        Owned connection;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wakeWorkers.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_stopping)
                return;
            connection = std::move(m_queue.front());
            m_queue.pop_front();
        }
        const HttpResponseWriter::Progress progress = serve(*connection);
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_busy.erase(connection->socket);
        }
        // What the socket did not take at once is left to the reading
        // thread, so a slow reader never holds a worker.
        connection->writing = progress == HttpResponseWriter::Blocked;
        if (connection->writing || (progress == HttpResponseWriter::Done && connection->keepAlive))
            giveBack(std::move(connection));
    }
}

HttpResponseWriter::Progress HttpServer::serve(HttpConnection &connection)
{
    HttpResponse response;
    try {
        m_handler(connection.request, response);
    } catch (const std::exception &) {
        // Nothing may take a worker down; the client learns it failed.
        response = HttpResponse();
        response.status = 500;
        if (m_errorPage)
            m_errorPage(500, response);
    }
    connection.keepAlive = connection.request.keepAlive && !m_stopping;
    connection.output.start(connection.request, response, connection.keepAlive);
    const HttpResponseWriter::Progress progress = connection.output.pump(connection.socket);
    if (progress != HttpResponseWriter::Blocked)
        logAnswer(connection, progress == HttpResponseWriter::Done);
    return progress;
}

void HttpServer::giveBack(Owned connection)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopping)
            return;
        m_returned.push_back(std::move(connection));
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
}
