#ifndef STORESERVERPROCESS_H
#define STORESERVERPROCESS_H

// The bundled store server run as a child process on a loopback port the
// system picks, for tests that talk to it over real HTTP.

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

class StoreServerProcess
{
public:
    StoreServerProcess() = default;
    StoreServerProcess(const StoreServerProcess &) = delete;
    StoreServerProcess &operator=(const StoreServerProcess &) = delete;
    ~StoreServerProcess() { stop(); }

    static QString program()
    {
        return qEnvironmentVariable("ZR_BINARY_DIR") + QStringLiteral("/bin/zarvostore");
    }

    // Gives the server a data root of its own instead of the test's.
    void setDataRoot(const QString &root)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZARVOREADER_ROOT"), root);
        m_process.setProcessEnvironment(env);
    }

    // Keeps the store's ledger in this folder ("--data"), so it outlives the
    // process; without one the ledger is a temporary file, gone with the process.
    void setDataFolder(const QString &folder) { m_dataFolder = folder; }

    // Sends what the server writes on stderr (one line a request) to a file.
    void setLogFile(const QString &file) { m_process.setStandardErrorFile(file); }

    // Starts the server on port 0 over the books folder, with more options
    // after those, and waits for the port it announces. Empty on success,
    // otherwise what went wrong.
    QString start(const QString &books, const QStringList &moreArguments = {})
    {
        m_books = books;
        m_moreArguments = moreArguments;
        return launch(0);
    }

    // Starts the server again as it was started last, on the port it had.
    QString restart()
    {
        stop();
        return launch(m_port);
    }

    int port() const { return m_port; }
    // "127.0.0.1:port", the form ZARVOREADER_STORE takes.
    QString hostPort() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

    // Asks the server to stop and waits for it; false when it was still
    // running after 30 seconds.
    bool stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return true;
        m_process.terminate();
        return m_process.waitForFinished(30000);
    }

    // Ends the server at once with SIGKILL, as a crash or power cut would.
    bool kill()
    {
        if (m_process.state() == QProcess::NotRunning)
            return true;
        m_process.kill();
        return m_process.waitForFinished(30000);
    }

    const QProcess &process() const { return m_process; }

private:
    QString launch(int port)
    {
        QStringList arguments{QStringLiteral("--port"), QString::number(port),
                              QStringLiteral("--books"), m_books};
        if (!m_dataFolder.isEmpty())
            arguments << QStringLiteral("--data") << m_dataFolder;
        m_process.start(program(), arguments + m_moreArguments);
        if (!m_process.waitForStarted())
            return QStringLiteral("cannot start ") + program();
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(30000))
                return "no port announced: " + QString::fromUtf8(m_process.readAllStandardError());
        }
        const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$")).match(line);
        m_port = match.hasMatch() ? match.captured(1).toInt() : 0;
        if (m_port <= 0)
            return QStringLiteral("unexpected first line: ") + line;
        return QString();
    }

    QProcess m_process;
    QString m_books;
    QStringList m_moreArguments;
    QString m_dataFolder;
    int m_port = 0;
};

#endif // STORESERVERPROCESS_H
