// Display on/off from a screen saver on a private session bus: a real
// dbus-daemon and a python3-dbusmock screen saver that emits ActiveChanged
// and records Inhibit/UnInhibit, and a mock settings portal whose
// color-scheme drives the screens' theme.

#include "colorscheme.h"
#include "commondef.h"
#include "displaystatewatcher.h"
#include "ebookreaderapp.h"
#include "privatedbus.h"
#include "screeninhibitor.h"
#include "testdataroot.h"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickView>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

namespace {
const char *const Service = "org.freedesktop.ScreenSaver";
const char *const MainPath = "/org/freedesktop/ScreenSaver";
const char *const ShortPath = "/ScreenSaver";
const char *const MockInterface = PrivateDBus::MockInterface;
const char *const Portal = "org.freedesktop.portal.Desktop";
const char *const PortalPath = "/org/freedesktop/portal/desktop";
const char *const PortalSettings = "org.freedesktop.portal.Settings";
const char *const PortalLacksReadOne = "raise dbus.exceptions.DBusException('no ReadOne', "
                                       "name='org.freedesktop.DBus.Error.UnknownMethod')";
const char *const PortalFails = "raise dbus.exceptions.DBusException('broken')";

QString portalAnswer(int scheme)
{
    return QString("ret = dbus.UInt32(%1)").arg(scheme);
}
} // namespace

class TstDisplayState : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_skipReason = m_bus.missingTools();
        if (!m_skipReason.isEmpty())
            return;
        // Before anything asks for the session bus, so the reader joins this one.
        const QString started = m_bus.start();
        QVERIFY2(started.isEmpty(), qPrintable(started));
        const QString mocked = m_bus.startMock({Service, MainPath, Service}, Service);
        QVERIFY2(mocked.isEmpty(), qPrintable(mocked));

        // Older desktops announce on the short path as well.
        QVERIFY(callMock(
            Service, MainPath, "AddObject",
            {QString(ShortPath), QString(Service), QVariantMap(), PrivateDBus::noMethods()}));
        QVERIFY(addMethod(Service, MainPath, Service, "Inhibit", "ss", "u", "ret = 7"));
        QVERIFY(addMethod(Service, MainPath, Service, "UnInhibit", "u", "", ""));
        const QString portal = m_bus.startMock({Portal, PortalPath, PortalSettings}, Portal);
        QVERIFY2(portal.isEmpty(), qPrintable(portal));
    }

    void cleanupTestCase() { m_bus.stop(); }

    void noBusNoEvents()
    {
        const QDBusConnection none =
            QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "none");
        DisplayStateWatcher watcher(none);
        QVERIFY(!watcher.isListening());
        QDBusConnection::disconnectFromBus("none");
    }

    void screenSaverDrivesTheApplication_data()
    {
        QTest::addColumn<QStringList>("announcements");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("short path")
            << QStringList{"short:1", "short:0"} << QStringList{"sleep", "wakeup"};
        QTest::newRow("announced on both paths")
            << QStringList{"main:1", "short:1", "main:0", "short:0", "main:1"}
            << QStringList{"sleep", "wakeup", "sleep"};
    }

    void screenSaverDrivesTheApplication()
    {
        if (!m_skipReason.isEmpty())
            QSKIP(qPrintable(m_skipReason));
        QFETCH(QStringList, announcements);
        QFETCH(QStringList, expected);

        TestDataRoot root;
        QVERIFY(root.renew());
        EBookReaderApp app;
        QStringList seen;
        connect(&app, &EBookReaderApp::sleep, this, [&seen] { seen << "sleep"; });
        connect(&app, &EBookReaderApp::wakeup, this, [&seen] { seen << "wakeup"; });

        for (const QString &announcement : announcements) {
            const QStringList parts = announcement.split(':');
            const QString path = parts.at(0) == "main" ? MainPath : ShortPath;
            QVERIFY(callMock(Service, path, "EmitSignal",
                             {QString(Service), QString("ActiveChanged"), QString("b"),
                              signalArgs({parts.at(1) == "1"})}));
        }
        // The last announcement always changes the state, so once its event is
        // here every earlier one has been delivered too.
        QTRY_COMPARE_WITH_TIMEOUT(seen.size(), expected.size(), 20000);
        QCOMPARE(seen, expected);
    }

    // Each step: "show"/"leave" the reading page, send the program to the
    // "background" or "foreground", or "quit".
    void screenKeptAwakeWhileReading_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        const QString hold = "Inhibit(ZarvoReader,Reading a book)";
        const QString release = "UnInhibit(7)";
        QTest::newRow("page shown, then left")
            << QStringList{"show", "leave"} << QStringList{hold, release};
        QTest::newRow("background and back")
            << QStringList{"show", "background", "foreground", "leave"}
            << QStringList{hold, release, hold, release};
        QTest::newRow("quit while reading")
            << QStringList{"show", "quit"} << QStringList{hold, release};
        QTest::newRow("shown in the background")
            << QStringList{"background", "show", "leave"} << QStringList();
    }

    void screenKeptAwakeWhileReading()
    {
        if (!m_skipReason.isEmpty())
            QSKIP(qPrintable(m_skipReason));
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        QVERIFY(callMock(Service, MainPath, "ClearCalls"));

        auto inhibitor = std::make_unique<ScreenInhibitor>(m_bus.connection());
        inhibitor->setApplicationState(Qt::ApplicationActive);
        bool foreground = true;
        for (const QString &step : steps) {
            if (step == "quit") {
                inhibitor.reset();
                continue;
            }
            if (step == "show" || step == "leave") {
                inhibitor->setKeepAwake(step == "show");
            } else {
                foreground = step == "foreground";
                inhibitor->setApplicationState(foreground ? Qt::ApplicationActive
                                                          : Qt::ApplicationInactive);
            }
            // The screen saver has answered before the next step.
            const bool held = foreground && inhibitor->keepAwake();
            QTRY_COMPARE_WITH_TIMEOUT(inhibitor->inhibited(), held, 10000);
        }
        QTRY_COMPARE_WITH_TIMEOUT(screenSaverCalls().size(), expected.size(), 10000);
        QCOMPARE(screenSaverCalls(), expected);
    }

    void themeFollowsThePortal_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("readOne");
        QTest::addColumn<QString>("read");
        QTest::addColumn<bool>("darkAtStart");
        QTest::addColumn<uint>("changedTo");
        QTest::addColumn<bool>("darkAfterChange");

        QTest::newRow("prefers dark, then light")
            << "system" << portalAnswer(1) << "" << true << 2u << false;
        QTest::newRow("no preference reads as light, then dark")
            << "system" << portalAnswer(0) << "" << false << 1u << true;
        QTest::newRow("older portal with Read only")
            << "system"
            << PortalLacksReadOne
            // Read answers with the value in a variant of its own, inside the reply's.
            << "ret = dbus.UInt32(1, variant_level=2)" << true << 0u << false;
        QTest::newRow("failing portal reads as light")
            << "system" << PortalFails << PortalFails << false << 1u << true;
        QTest::newRow("chosen light stays light")
            << "light" << portalAnswer(1) << "" << false << 1u << false;
        QTest::newRow("chosen dark stays dark")
            << "dark" << portalAnswer(2) << "" << true << 2u << true;
    }

    void themeFollowsThePortal()
    {
        if (!m_skipReason.isEmpty())
            QSKIP(qPrintable(m_skipReason));
        QFETCH(QString, mode);
        QFETCH(QString, readOne);
        QFETCH(QString, read);
        QFETCH(bool, darkAtStart);
        QFETCH(uint, changedTo);
        QFETCH(bool, darkAfterChange);
        QVERIFY(addMethod(Portal, PortalPath, PortalSettings, "ReadOne", "ss", "v", readOne));
        QVERIFY(addMethod(Portal, PortalPath, PortalSettings, "Read", "ss", "v",
                          read.isEmpty() ? PortalFails : read));

        ColorScheme scheme(m_bus.connection());
        scheme.setMode(mode);
        QQmlEngine engine;
        engine.rootContext()->setContextProperty("colorScheme", &scheme);
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nimport \"file://" + qgetenv("ZR_SOURCE_DIR") +
                              "/qml/ZarvoReader\"\n"
                              "QtObject { property color paper: Theme.paper; "
                              "property color ink: Theme.ink }",
                          QUrl());
        std::unique_ptr<QObject> theme(component.create());
        QVERIFY2(theme, qPrintable(component.errorString()));

        // The answer to the first question arrives; a change is announced.
        QTRY_COMPARE_WITH_TIMEOUT(looksDark(*theme), darkAtStart, 10000);
        QTest::qWait(200);
        QCOMPARE(looksDark(*theme), darkAtStart);
        QVERIFY(callMock(Portal, PortalPath, "EmitSignal",
                         {QString(PortalSettings), QString("SettingChanged"), QString("ssv"),
                          signalArgs({QString("org.freedesktop.appearance"),
                                      QString("color-scheme"), changedTo})}));
        QTRY_COMPARE_WITH_TIMEOUT(looksDark(*theme), darkAfterChange, 10000);
        QTest::qWait(200);
        QCOMPARE(looksDark(*theme), darkAfterChange);
    }

    // The choice is kept in the settings file under a key of our own and
    // comes back at the next start; the described key stays where it was.
    void schemeChoiceSurvivesARestart()
    {
        TestDataRoot root;
        QVERIFY(root.renew());
        {
            EBookReaderApp app;
            QObject *scheme = contextObject("colorScheme");
            QVERIFY(scheme);
            QCOMPARE(scheme->property("mode").toString(), "system");
            QVERIFY(scheme->setProperty("mode", "dark"));
        }
        const QSettings file(BookInfoFolder + "/ebooksetting.ini", QSettings::IniFormat);
        QCOMPARE(file.value("Display/colorScheme").toString(), "dark");
        QCOMPARE(file.value("IsNotifyUserOverwriteDL").toString(), "true");
        EBookReaderApp again;
        QObject *scheme = contextObject("colorScheme");
        QVERIFY(scheme);
        QCOMPARE(scheme->property("mode").toString(), "dark");
        QVERIFY(scheme->property("dark").toBool());
    }

private:
    static QObject *contextObject(const char *name)
    {
        for (QWindow *window : QGuiApplication::allWindows()) {
            if (auto *view = qobject_cast<QQuickView *>(window))
                return view->rootContext()->contextProperty(name).value<QObject *>();
        }
        return nullptr;
    }

    // Dark paper under light ink, with room between them for reading.
    static bool looksDark(const QObject &theme)
    {
        const QColor paper = theme.property("paper").value<QColor>();
        const QColor ink = theme.property("ink").value<QColor>();
        const bool dark = paper.lightnessF() < 0.2 && ink.lightnessF() > 0.7;
        const bool light = paper.lightnessF() > 0.8 && ink.lightnessF() < 0.3;
        return dark && !light;
    }

    bool callMock(const QString &service, const QString &path, const QString &method,
                  const QVariantList &args = {}, QDBusMessage *answer = nullptr)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(service, path, MockInterface, method);
        call.setArguments(args);
        const QDBusMessage reply = m_bus.connection().call(call);
        if (reply.type() == QDBusMessage::ErrorMessage)
            qWarning() << reply.errorMessage();
        if (answer)
            *answer = reply;
        return reply.type() == QDBusMessage::ReplyMessage;
    }

    bool addMethod(const QString &service, const QString &path, const QString &interface,
                   const QString &name, const QString &in, const QString &out, const QString &code)
    {
        return callMock(service, path, "AddMethod", {interface, name, in, out, code});
    }

    // The values of a signal, as dbusmock's EmitSignal takes them: av.
    static QVariant signalArgs(const QVariantList &values)
    {
        QDBusArgument args;
        args.beginArray(QMetaType::fromType<QDBusVariant>());
        for (const QVariant &value : values)
            args << QDBusVariant(value);
        args.endArray();
        return QVariant::fromValue(args);
    }

    // The screen saver's recorded calls, as "Method(arg,arg)".
    QStringList screenSaverCalls()
    {
        QDBusMessage reply;
        if (!callMock(Service, MainPath, "GetCalls", {}, &reply))
            return {"<GetCalls failed>"};
        QStringList calls;
        const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            qulonglong time = 0;
            QString method;
            QStringList values;
            list.beginStructure();
            list >> time >> method;
            list.beginArray();
            while (!list.atEnd()) {
                QDBusVariant value;
                list >> value;
                values << value.variant().toString();
            }
            list.endArray();
            list.endStructure();
            calls << method + "(" + values.join(',') + ")";
        }
        list.endArray();
        return calls;
    }

    PrivateDBus m_bus{PrivateDBus::Session};
    QString m_skipReason;
};

QTEST_MAIN(TstDisplayState)
#include "tst_displaystate.moc"
