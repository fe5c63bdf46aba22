#ifndef NGINXPROCESS_H
#define NGINXPROCESS_H

// Debian's nginx run as a child process serving one folder on a loopback
// port picked at run time, for tests that download over real HTTP with
// ranges, ETags and, when asked, a slow line. Everything nginx writes (pid,
// error log, temporary files) stays in a temporary folder of its own, so it
// runs the same as root or not and never touches /var.

#include "loopbackport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QTcpSocket>
#include <QTemporaryDir>

class NginxProcess
{
public:
    NginxProcess() = default;
    NginxProcess(const NginxProcess &) = delete;
    NginxProcess &operator=(const NginxProcess &) = delete;
    ~NginxProcess() { stop(); }

    static QString program() { return QStringLiteral("/usr/sbin/nginx"); }

    // Empty when nginx is installed, otherwise why the tests that need it
    // are skipped.
    static QString missing()
    {
        if (QFile::exists(program()))
            return QString();
        return program() + QStringLiteral(" is not installed (scripts/deps.sh installs it)");
    }

    // Serves rootFolder at "/" with ranges and ETags, at most limitRate bytes
    // a second per connection when limitRate > 0. Empty on success, otherwise
    // what went wrong.
    QString start(const QString &rootFolder, qint64 limitRate = 0)
    {
        stop();
        if (!missing().isEmpty())
            return missing();
        if (!m_work.isValid())
            return QStringLiteral("no temporary folder for nginx");
        QString why;
        // Another process may take the port between our probe and nginx's
        // bind: try again on a fresh port.
        for (int attempt = 0; attempt < 5; ++attempt) {
            why = startOnce(QDir(rootFolder).absolutePath(), limitRate);
            if (why.isEmpty() || !why.contains(QLatin1String("Address already in use")))
                return why;
        }
        return why;
    }

    int port() const { return m_port; }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
    // What nginx logged, for a failing test's message.
    QString errorLog() const { return readText(m_work.filePath(QStringLiteral("error.log"))); }

    // Stops nginx and waits for it; false when it did not go.
    bool stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return true;
        m_process.terminate();
        if (m_process.waitForFinished(10000))
            return true;
        m_process.kill();
        return m_process.waitForFinished(10000);
    }

private:
    static QString readText(const QString &file)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromUtf8(f.readAll());
    }

    QString config(const QString &root, qint64 limitRate) const
    {
        const QString work = m_work.path();
        QStringList lines{
            "daemon off;",
            "master_process off;", // one process: no worker switching to another user
            "worker_processes 1;",
            "pid " + work + "/nginx.pid;",
            "lock_file " + work + "/nginx.lock;",
            "error_log " + work + "/error.log warn;",
            "events { worker_connections 64; }",
            "http {",
            "    access_log off;",
            "    client_body_temp_path " + work + "/body;",
            "    proxy_temp_path " + work + "/proxy;",
            "    fastcgi_temp_path " + work + "/fastcgi;",
            "    uwsgi_temp_path " + work + "/uwsgi;",
            "    scgi_temp_path " + work + "/scgi;",
            "    default_type application/octet-stream;",
            "    sendfile on;",
            "    etag on;",
            "    server {",
            QStringLiteral("        listen 127.0.0.1:%1;").arg(m_port),
            "        server_name localhost;",
            "        location / {",
            "            root \"" + root + "\";",
        };
        if (limitRate > 0)
            lines << QStringLiteral("            limit_rate %1;").arg(limitRate);
        lines << "        }"
              << "    }"
              << "}";
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }

    QString writeConfig(const QString &root, qint64 limitRate) const
    {
        QSaveFile file(m_work.filePath(QStringLiteral("nginx.conf")));
        if (!file.open(QIODevice::WriteOnly))
            return QStringLiteral("cannot write the nginx configuration");
        file.write(config(root, limitRate).toUtf8());
        if (!file.commit())
            return QStringLiteral("cannot write the nginx configuration");
        return QString();
    }

    // nginx writes its pid file only once it holds the port, so a stranger
    // that took the port in the meantime does not pass for it.
    bool isUp() const
    {
        if (!QFile::exists(m_work.filePath(QStringLiteral("nginx.pid"))))
            return false;
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(m_port));
        return socket.waitForConnected(500);
    }

    QString startOnce(const QString &root, qint64 limitRate)
    {
        m_port = LoopbackPort::pickFree();
        if (m_port <= 0)
            return QStringLiteral("no free loopback port");
        const QString configError = writeConfig(root, limitRate);
        if (!configError.isEmpty())
            return configError;
        QFile::remove(m_work.filePath(QStringLiteral("error.log")));
        QFile::remove(m_work.filePath(QStringLiteral("nginx.pid")));
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(program(), {QStringLiteral("-p"), m_work.path() + QLatin1Char('/'),
                                    QStringLiteral("-e"), m_work.filePath("error.log"),
                                    QStringLiteral("-c"), m_work.filePath("nginx.conf")});
        if (!m_process.waitForStarted())
            return QStringLiteral("cannot start ") + program();
        // nginx says nothing when it is up: wait until the port answers.
        for (int tries = 0; tries < 100; ++tries) {
            if (isUp())
                return QString();
            // Also notices an nginx that gave up (a taken port, a bad line).
            if (m_process.waitForFinished(50))
                return QStringLiteral("nginx stopped: ") + QString::fromUtf8(m_process.readAll()) +
                       errorLog();
        }
        stop();
        return QStringLiteral("nginx did not answer on port %1: ").arg(m_port) + errorLog();
    }

    QTemporaryDir m_work;
    QProcess m_process;
    int m_port = 0;
};

#endif // NGINXPROCESS_H
