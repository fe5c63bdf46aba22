#include "commondef.h"
#include "ebooksetting.h"
#include "testdataroot.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

class TestEBookSetting : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_root.renew() && QDir().mkpath(BookInfoFolder)); }

    // The first start writes the default, and a choice survives a restart.
    void defaultAndPersistence()
    {
        {
            EBookSetting setting;
            QVERIFY(setting.getIsNotifyUserOverwriteDL());
            QCOMPARE(stored(), "true");
            setting.setIsNotifyUserOverwriteDL(false);
        }
        EBookSetting restarted;
        QVERIFY(!restarted.getIsNotifyUserOverwriteDL());
        QCOMPARE(stored(), "false");
    }

    void storedText_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("expected");
        QTest::newRow("true") << QByteArray("true") << true;
        QTest::newRow("false") << QByteArray("false") << false;
        QTest::newRow("not a boolean") << QByteArray("maybe") << false;
        QTest::newRow("number") << QByteArray("1") << false;
    }

    void storedText()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, expected);
        QFile f(file());
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write("[General]\nIsNotifyUserOverwriteDL=" + stored + "\n") > 0);
        f.close();
        QCOMPARE(EBookSetting().getIsNotifyUserOverwriteDL(), expected);
    }

private:
    QString file() const { return BookInfoFolder + "/ebooksetting.ini"; }
    QString stored() const
    {
        return QSettings(file(), QSettings::IniFormat).value("IsNotifyUserOverwriteDL").toString();
    }
    TestDataRoot m_root;
};

QTEST_GUILESS_MAIN(TestEBookSetting)
#include "tst_ebooksetting.moc"
