#ifndef POSTGRESCLUSTER_H
#define POSTGRESCLUSTER_H

// A throw-away PostgreSQL cluster: made with Debian's initdb in a temporary
// folder, served on a loopback port picked at run time with trust
// authentication, and removed with the object. PostgreSQL refuses to run as
// root, so when the tests are root it runs as "nobody", who is given the
// folder.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

class PostgresCluster
{
public:
    PostgresCluster() = default;
    PostgresCluster(const PostgresCluster &) = delete;
    PostgresCluster &operator=(const PostgresCluster &) = delete;
    ~PostgresCluster() { stop(); }

    // The newest installed server's programs; empty when none is installed.
    static QString binFolder()
    {
        const QDir versions(QStringLiteral("/usr/lib/postgresql"));
        const QStringList found =
            versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
        for (const QString &version : found) {
            const QString bin = versions.filePath(version + QStringLiteral("/bin"));
            if (QFile::exists(bin + QStringLiteral("/initdb")))
                return bin;
        }
        return QString();
    }

    // Empty when PostgreSQL is installed, otherwise why its tests are skipped.
    static QString missing()
    {
        if (!binFolder().isEmpty())
            return QString();
        return QStringLiteral("PostgreSQL is not installed (scripts/deps.sh installs it)");
    }

    static constexpr const char *User = "ledger";
    static constexpr const char *Database = "postgres";

    // Makes the cluster and starts its server. Empty on success, otherwise
    // what went wrong.
    QString start()
    {
        if (!missing().isEmpty())
            return missing();
        if (!m_dir.isValid())
            return QStringLiteral("no temporary folder for PostgreSQL");
        if (!handOver(m_dir.path()))
            return QStringLiteral("cannot give the temporary folder to nobody");
        const QString made = initdb();
        if (!made.isEmpty())
            return made;
        QString why;
        // Another process may take the port between our probe and the bind.
        for (int attempt = 0; attempt < 5; ++attempt) {
            why = serve();
            if (why.isEmpty() || !why.contains(QLatin1String("could not bind")))
                return why;
        }
        return why;
    }

    int port() const { return m_port; }
    // The form the store's --ledger option takes.
    QString url() const
    {
        return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3")
            .arg(User)
            .arg(m_port)
            .arg(Database);
    }
    QString log() const
    {
        QFile file(m_dir.filePath(QStringLiteral("server.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // A fast shutdown: connected clients are cut off.
    bool stop()
    {
        if (m_server.state() == QProcess::NotRunning)
            return true;
        ::kill(pid_t(m_server.processId()), SIGINT);
        if (m_server.waitForFinished(15000))
            return true;
        m_server.kill();
        return m_server.waitForFinished(5000);
    }

private:
    static bool isRoot() { return geteuid() == 0; }

    static bool handOver(const QString &path)
    {
        if (!isRoot())
            return true;
        const passwd *nobody = getpwnam("nobody");
        return nobody &&
               chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid) == 0;
    }

    // Runs the child as nobody when we are root, and ends it with the test
    // even when the test dies.
    static void setUpChild(QProcess &process)
    {
        const bool root = isRoot();
        const passwd *nobody = getpwnam("nobody");
        const uid_t uid = nobody ? nobody->pw_uid : 65534;
        const gid_t gid = nobody ? nobody->pw_gid : 65534;
        process.setChildProcessModifier([root, uid, gid] {
            if (root && (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0))
                _exit(127);
            // Set last: a change of user clears it.
            prctl(PR_SET_PDEATHSIG, SIGINT);
        });
    }

    QString dataFolder() const { return m_dir.filePath(QStringLiteral("data")); }

    QString initdb()
    {
        QProcess process;
        setUpChild(process);
        process.setWorkingDirectory(m_dir.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(binFolder() + QStringLiteral("/initdb"),
                      {QStringLiteral("-D"), dataFolder(), QStringLiteral("-U"),
                       QLatin1String(User), QStringLiteral("-A"), QStringLiteral("trust"),
                       QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C"),
                       QStringLiteral("--no-sync")});
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0)
            return QStringLiteral("initdb failed: ") + QString::fromUtf8(process.readAll());
        return QString();
    }

    // A port that was free a moment ago.
    static int freePort()
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0))
            return 0;
        return probe.serverPort();
    }

    bool isReady() const
    {
        QProcess probe;
        probe.start(binFolder() + QStringLiteral("/pg_isready"),
                    {QStringLiteral("-q"), QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                     QStringLiteral("-p"), QString::number(m_port)});
        return probe.waitForFinished(5000) && probe.exitCode() == 0;
    }

    QString serve()
    {
        m_port = freePort();
        if (m_port <= 0)
            return QStringLiteral("no free loopback port");
        setUpChild(m_server);
        m_server.setWorkingDirectory(m_dir.path());
        m_server.setStandardOutputFile(m_dir.filePath(QStringLiteral("server.log")));
        m_server.setStandardErrorFile(m_dir.filePath(QStringLiteral("server.log")),
                                      QIODevice::Append);
        // TCP on loopback only; no socket file, no disk syncs: the cluster
        // lives as long as the test.
        m_server.start(binFolder() + QStringLiteral("/postgres"),
                       {QStringLiteral("-D"), dataFolder(), QStringLiteral("-p"),
                        QString::number(m_port), QStringLiteral("-F"), QStringLiteral("-c"),
                        QStringLiteral("listen_addresses=127.0.0.1"), QStringLiteral("-c"),
                        QStringLiteral("unix_socket_directories=")});
        if (!m_server.waitForStarted())
            return QStringLiteral("cannot start postgres");
        for (int tries = 0; tries < 300; ++tries) {
            if (isReady())
                return QString();
            if (m_server.waitForFinished(100))
                return QStringLiteral("postgres stopped: ") + log();
        }
        stop();
        return QStringLiteral("postgres did not answer on port %1: ").arg(m_port) + log();
    }

    QTemporaryDir m_dir;
    QProcess m_server;
    int m_port = 0;
};

#endif // POSTGRESCLUSTER_H
