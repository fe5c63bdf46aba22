#include "commondef.h"
#include "ebooksetting.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class TestEBookSetting : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        qputenv("ZARVOREADER_ROOT", m_root->path().toUtf8());
        QVERIFY(QDir().mkpath(BookInfoFolder));
    }

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
        QTest::newRow("empty") << QByteArray("") << false;
    }

    void storedText()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, expected);
        QFile f(file());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[General]\nIsNotifyUserOverwriteDL=" + stored + "\n");
        f.close();
        QCOMPARE(EBookSetting().getIsNotifyUserOverwriteDL(), expected);
    }

private:
    QString file() const { return BookInfoFolder + "/ebooksetting.ini"; }
    QString stored() const
    {
        return QSettings(file(), QSettings::IniFormat).value("IsNotifyUserOverwriteDL").toString();
    }
    std::unique_ptr<QTemporaryDir> m_root;
};

QTEST_GUILESS_MAIN(TestEBookSetting)
#include "tst_ebooksetting.moc"
