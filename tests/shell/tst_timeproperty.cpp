#include "timeproperty.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class TstTimeproperty : public QObject
{
    Q_OBJECT
private slots:
    void transitions_data()
    {
        QTest::addColumn<QStringList>("calls"); // "timeout": the refresh timer fires
        QTest::addColumn<bool>("timerRunning");
        QTest::addColumn<bool>("activeFlag");
        QTest::addColumn<int>("timeSignals");
        QTest::addColumn<int>("flagSignals");

        QTest::newRow("timer fires") << QStringList{"timeout"} << true << false << 1 << 0;
        QTest::newRow("activate twice")
            << QStringList{"activate", "activate"} << true << true << 2 << 1;
        QTest::newRow("sleep, wakeup") << QStringList{"sleep", "wakeup"} << true << false << 1 << 0;
        QTest::newRow("sleep, activate")
            << QStringList{"sleep", "activate"} << true << true << 1 << 1;
        QTest::newRow("deactivate while display off")
            << QStringList{"activate", "sleep", "deactivate"} << false << false << 1 << 2;
        QTest::newRow("sleep keeps active flag")
            << QStringList{"activate", "sleep"} << false << true << 1 << 1;
        QTest::newRow("wakeup while inactive")
            << QStringList{"deactivate", "wakeup"} << true << false << 1 << 0;
        QTest::newRow("deactivate when never active")
            << QStringList{"deactivate"} << false << false << 0 << 0;
    }

    void transitions()
    {
        QFETCH(QStringList, calls);
        QFETCH(bool, timerRunning);
        QFETCH(bool, activeFlag);
        QFETCH(int, timeSignals);
        QFETCH(int, flagSignals);

        Timeproperty clock;
        QTimer *timer = clock.findChild<QTimer *>();
        QVERIFY(timer);
        QSignalSpy hour(&clock, &Timeproperty::hourChanged);
        QSignalSpy minute(&clock, &Timeproperty::minuteChanged);
        QSignalSpy flag(&clock, &Timeproperty::activeFlagChanged);
        for (const QString &call : calls)
            QVERIFY(QMetaObject::invokeMethod(call == "timeout" ? static_cast<QObject *>(timer)
                                                                : &clock,
                                              call.toLatin1().constData()));

        QCOMPARE(timer->isActive(), timerRunning);
        if (timerRunning)
            QCOMPARE(timer->interval(), 30000);
        QVERIFY(!timer->isSingleShot());
        QCOMPARE(clock.getActiveFlag(), activeFlag);
        QCOMPARE(hour.count(), timeSignals);
        QCOMPARE(minute.count(), timeSignals);
        QCOMPARE(flag.count(), flagSignals);
    }
};

QTEST_GUILESS_MAIN(TstTimeproperty)
#include "tst_timeproperty.moc"
