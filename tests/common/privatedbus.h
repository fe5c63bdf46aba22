#ifndef PRIVATEDBUS_H
#define PRIVATEDBUS_H

// A dbus-daemon of the test's own that takes the place of the session or the
// system bus, with python3-dbusmock stand-ins for the services on it.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <memory>
#include <vector>

// One method of a mock object, as dbusmock's AddObject takes it: (ssss).
struct MockMethod
{
    QString name, inSignature, outSignature, code;
};

inline QDBusArgument &operator<<(QDBusArgument &arg, const MockMethod &m)
{
    arg.beginStructure();
    arg << m.name << m.inSignature << m.outSignature << m.code;
    arg.endStructure();
    return arg;
}

inline const QDBusArgument &operator>>(const QDBusArgument &arg, MockMethod &m)
{
    arg.beginStructure();
    arg >> m.name >> m.inSignature >> m.outSignature >> m.code;
    arg.endStructure();
    return arg;
}

Q_DECLARE_METATYPE(MockMethod)

class PrivateDBus
{
public:
    enum Kind
    {
        Session,
        System
    };

    static constexpr const char *MockInterface = "org.freedesktop.DBus.Mock";

    explicit PrivateDBus(Kind kind) : m_kind(kind) {}
    PrivateDBus(const PrivateDBus &) = delete;
    PrivateDBus &operator=(const PrivateDBus &) = delete;
    ~PrivateDBus() { stop(); }

    // Empty when dbus-daemon and python3-dbusmock are there; otherwise why
    // the tests that need them are skipped.
    QString missingTools()
    {
        m_daemon = QStandardPaths::findExecutable("dbus-daemon");
        // Debian's python carries python3-dbusmock; a python of its own may not.
        QProcess probe;
        probe.start("/usr/bin/python3", {"-c", "import dbusmock"});
        const bool mock = probe.waitForFinished(20000) &&
                          probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
        if (m_daemon.isEmpty() || !mock)
            return "dbus-daemon or python3-dbusmock is not installed";
        return QString();
    }

    // Starts the daemon and points the bus at it; call before anything opens
    // that bus, so every part joins this one. Empty on success, otherwise
    // what went wrong.
    QString start()
    {
        if (m_daemon.isEmpty() && !missingTools().isEmpty())
            return missingTools();
        qDBusRegisterMetaType<MockMethod>();
        qDBusRegisterMetaType<QList<MockMethod>>();
        m_bus.start(m_daemon, {"--session", "--nofork", "--print-address"});
        if (!m_bus.waitForStarted() || !m_bus.waitForReadyRead(10000))
            return "dbus-daemon did not start";
        qputenv(m_kind == Session ? "DBUS_SESSION_BUS_ADDRESS" : "DBUS_SYSTEM_BUS_ADDRESS",
                m_bus.readLine().trimmed());
        return connection().isConnected() ? QString() : "cannot connect to the private bus";
    }

    QDBusConnection connection() const
    {
        return m_kind == Session ? QDBusConnection::sessionBus() : QDBusConnection::systemBus();
    }

    // Runs "python3 -m dbusmock <arguments>" on this bus and waits until
    // service is on it. Empty on success, otherwise what went wrong.
    QString startMock(const QStringList &arguments, const QString &service)
    {
        auto mock = std::make_unique<QProcess>();
        mock->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QStringList system = m_kind == System ? QStringList{"--system"} : QStringList();
        mock->start("/usr/bin/python3", QStringList{"-m", "dbusmock"} + system + arguments);
        m_mocks.push_back(std::move(mock));
        QDBusConnectionInterface *bus = connection().interface();
        if (!QTest::qWaitFor([&] { return bus->isServiceRegistered(service).value(); }, 20000))
            return service + " did not appear on the bus";
        return QString();
    }

    // The mocks first, the newest first, then the daemon.
    void stop()
    {
        for (; !m_mocks.empty(); m_mocks.pop_back())
            stopProcess(*m_mocks.back());
        stopProcess(m_bus);
    }

    // An object without methods of its own, for AddObject.
    static QVariant noMethods() { return QVariant::fromValue(QList<MockMethod>()); }

private:
    static void stopProcess(QProcess &process)
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }

    Kind m_kind;
    QString m_daemon;
    QProcess m_bus;
    std::vector<std::unique_ptr<QProcess>> m_mocks;
};

#endif // PRIVATEDBUS_H
