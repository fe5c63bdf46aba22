#ifndef FRONTDOORPROCESS_H
#define FRONTDOORPROCESS_H

// The store as it is deployed: scripts/serve-store.sh with nginx on a
// loopback port picked at run time and zarvostore behind it, run as a child
// process over a books folder and a data folder.

#include "loopbackport.h"
#include "nginxprocess.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <csignal>
#include <sys/prctl.h>

class FrontDoorProcess
{
public:
    FrontDoorProcess() = default;
    FrontDoorProcess(const FrontDoorProcess &) = delete;
    FrontDoorProcess &operator=(const FrontDoorProcess &) = delete;
    ~FrontDoorProcess() { stop(); }

    // Empty when nginx is installed, otherwise why the tests are skipped.
    static QString missing() { return NginxProcess::missing(); }

    // Starts the script and waits until it says the store answers through
    // nginx. moreArguments go to zarvostore. Empty on success, otherwise
    // what went wrong.
    QString start(const QString &books, const QString &data, const QStringList &moreArguments = {})
    {
        m_data = data;
        QString why;
        // Another process may take the port between our probe and nginx's
        // bind: try again on a fresh port.
        for (int attempt = 0; attempt < 5; ++attempt) {
            why = startOnce(books, moreArguments);
            if (why.isEmpty() || !why.contains(QLatin1String("Address already in use")))
                return why;
        }
        return why;
    }

    int port() const { return m_port; }
    QString hostPort() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QString runFolder() const { return m_data + QStringLiteral("/frontdoor"); }

    // The zarvostore process behind nginx now, or 0.
    qint64 storePid() const
    {
        QFile file(runFolder() + QStringLiteral("/zarvostore.pid"));
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        return file.readAll().trimmed().toLongLong();
    }

    // What the script and the two servers logged, for a failing test's message.
    QString logs()
    {
        QString text = QString::fromUtf8(m_process.readAllStandardError());
        for (const char *name : {"/error.log", "/zarvostore.log"}) {
            QFile file(runFolder() + QLatin1String(name));
            if (file.open(QIODevice::ReadOnly))
                text += QString::fromUtf8(file.readAll().right(4000));
        }
        return text;
    }

    // Stops both with SIGTERM as an operator would; false when the script
    // was still running after 30 seconds.
    bool stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return true;
        m_process.terminate();
        if (m_process.waitForFinished(30000))
            return true;
        m_process.kill();
        m_process.waitForFinished(5000);
        return false;
    }

private:
    QString startOnce(const QString &books, const QStringList &moreArguments)
    {
        stop();
        m_port = LoopbackPort::pickFree();
        if (m_port <= 0)
            return QStringLiteral("no free loopback port");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZR_BUILD_DIR"), qEnvironmentVariable("ZR_BINARY_DIR"));
        m_process.setProcessEnvironment(env);
        // A test that dies on the way still stops the store it started.
        m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_process.start(QStringLiteral("bash"),
                        QStringList{qEnvironmentVariable("ZR_SOURCE_DIR") +
                                        QStringLiteral("/scripts/serve-store.sh"),
                                    QString::number(m_port), books, m_data} +
                            moreArguments);
        const QString expected = QStringLiteral("listening on 127.0.0.1:%1").arg(m_port);
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(60000))
                return QStringLiteral("the store did not start: ") + logs();
        }
        const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
        if (line != expected)
            return QStringLiteral("unexpected first line: ") + line + QLatin1Char('\n') + logs();
        return QString();
    }

    QProcess m_process;
    QString m_data;
    int m_port = 0;
};

#endif // FRONTDOORPROCESS_H
