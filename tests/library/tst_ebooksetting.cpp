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
    void init();
    void firstStartWritesTrue();
    void choiceSurvivesRestart();
    void storedText_data();
    void storedText();

private:
    QString file() const { return BookInfoFolder + "/ebooksetting.ini"; }
    std::unique_ptr<QTemporaryDir> m_root;
};

void TestEBookSetting::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    qputenv("ZARVOREADER_ROOT", m_root->path().toUtf8());
    QVERIFY(QDir().mkpath(BookInfoFolder));
}

void TestEBookSetting::firstStartWritesTrue()
{
    EBookSetting setting;
    QVERIFY(setting.getIsNotifyUserOverwriteDL());
    QSettings onDisk(file(), QSettings::IniFormat);
    QCOMPARE(onDisk.value("IsNotifyUserOverwriteDL").toString(), QStringLiteral("true"));
}

void TestEBookSetting::choiceSurvivesRestart()
{
    {
        EBookSetting setting;
        setting.setIsNotifyUserOverwriteDL(false);
        QVERIFY(!setting.getIsNotifyUserOverwriteDL());
    }
    EBookSetting restarted;
    QVERIFY(!restarted.getIsNotifyUserOverwriteDL());
    restarted.setIsNotifyUserOverwriteDL(true);
    QSettings onDisk(file(), QSettings::IniFormat);
    QCOMPARE(onDisk.value("IsNotifyUserOverwriteDL").toString(), QStringLiteral("true"));
}

void TestEBookSetting::storedText_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("expected");
    QTest::newRow("true") << QByteArray("true") << true;
    QTest::newRow("false") << QByteArray("false") << false;
    QTest::newRow("not a boolean") << QByteArray("maybe") << false;
    QTest::newRow("number") << QByteArray("1") << false;
    QTest::newRow("empty") << QByteArray("") << false;
}

void TestEBookSetting::storedText()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, expected);
    QFile f(file());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[General]\nIsNotifyUserOverwriteDL=" + stored + "\n");
    f.close();
    EBookSetting setting;
    QCOMPARE(setting.getIsNotifyUserOverwriteDL(), expected);
}

QTEST_GUILESS_MAIN(TestEBookSetting)
#include "tst_ebooksetting.moc"
