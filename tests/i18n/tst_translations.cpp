// The screens in two languages: every text they show has its English in
// translations/zarvoreader_en.ts, and the real screens speak the language
// the user's locale asks for.

#include "ebookreaderapp.h"
#include "loopbackport.h"
#include "screendriver.h"
#include "testdataroot.h"
#include "translationloader.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QQuickItem>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <memory>

namespace {

const QRegularExpression Chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

const char HowToAdd[] =
    "Add their English: run `cmake --build build --target zr_lupdate` (lupdate puts new texts "
    "into translations/zarvoreader_en.ts), then write the English into each <translation "
    "type=\"unfinished\"> of that file and drop the type attribute.";

QString sourceDir()
{
    return qEnvironmentVariable("ZR_SOURCE_DIR");
}

// "Context: text" for every message of the .ts without a finished English.
QStringList untranslated(QIODevice &ts)
{
    QStringList missing;
    QXmlStreamReader xml(&ts);
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString english = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            // Texts gone from the sources need no English.
            if (type == QLatin1String("vanished") || type == QLatin1String("obsolete"))
                continue;
            if (type == QLatin1String("unfinished") || english.trimmed().isEmpty())
                missing << context + QLatin1String(": ") + source;
        }
    }
    if (xml.hasError())
        missing << QLatin1String("unreadable .ts: ") + xml.errorString();
    return missing;
}

// Every visible text under the item.
void collectTexts(QQuickItem *item, QStringList &texts)
{
    if (!item || !item->isVisible() || item->opacity() <= 0)
        return;
    for (const char *name : {"text", "placeholderText"}) {
        const QString text = item->property(name).toString();
        if (!text.isEmpty())
            texts << text;
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        collectTexts(child, texts);
}

} // namespace

class TstTranslations : public QObject
{
    Q_OBJECT
private slots:
    // lupdate over today's sources, merged into a copy of the English: whatever
    // it adds, or finds without English, is a text shown untranslated.
    void everyTextHasEnglish()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString ts = dir.filePath("zarvoreader_en.ts");
        QVERIFY(QFile::copy(sourceDir() + "/translations/zarvoreader_en.ts", ts));
        QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);

        QProcess lupdate;
        lupdate.setWorkingDirectory(sourceDir());
        lupdate.start(ZR_LUPDATE, QString(ZR_LUPDATE_ARGS).split('|') << "-ts" << ts);
        QVERIFY(lupdate.waitForFinished(60000));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());

        QFile file(ts);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList missing = untranslated(file);
        // The list goes out whole; a failure message would be cut short.
        for (const QString &text : missing)
            qWarning().noquote() << "no English:" << text;
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QString("%1 text(s) of the screens have no English (listed above). %2")
                                .arg(missing.size())
                                .arg(HowToAdd)));
    }

    // A Chinese text written straight into a screen is never offered to lupdate.
    void chineseOnlyThroughQsTr()
    {
        const QRegularExpression literal(QStringLiteral("\"(?:[^\"\\\\]|\\\\.)*\""));
        const QRegularExpression translated(
            QStringLiteral("(qsTr|QT_TR_NOOP|qsTranslate)\\(\\s*$"));
        // Chinese that is data, not a text of the screens: the screenshot tour's
        // sample book and the word it looks up in it.
        const QStringList data{QStringLiteral("\"论语\""), QStringLiteral("\"禮\"")};
        QStringList raw;
        QDirIterator it(sourceDir() + "/qml/ZarvoReader", {"*.qml", "*.js"}, QDir::Files);
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
            for (int i = 0; i < lines.size(); ++i) {
                const QString &line = lines.at(i);
                if (line.trimmed().startsWith("//"))
                    continue;
                for (auto match = literal.globalMatch(line); match.hasNext();) {
                    const auto m = match.next();
                    if (m.captured().contains(Chinese) && !data.contains(m.captured()) &&
                        !line.left(m.capturedStart()).contains(translated))
                        raw << QString("%1:%2: %3").arg(it.fileName()).arg(i + 1).arg(m.captured());
                }
            }
        }
        QVERIFY2(raw.isEmpty(), qPrintable("Texts not given to qsTr() (Chinese that is data goes "
                                           "into `data` in tests/i18n/tst_translations.cpp):\n  " +
                                           raw.join("\n  ")));
    }

    void screensSpeakTheLocalesLanguage_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("expected");

        QTest::newRow("en_US shelf") << QStringList{"en-US", "en"} << "shelf"
                                     << "No books on the shelf yet";
        QTest::newRow("de_DE settings") << QStringList{"de-DE", "de"} << "settings"
                                        << "Ask before replacing";
        // The store's error comes from ResultWords.js, a script of its own.
        QTest::newRow("C store offline")
            << QStringList{"C"} << "store"
            << "Cannot reach the store. Check the network and try again";
        QTest::newRow("zh_TW shelf") << QStringList{"zh-TW", "zh-Hant-TW"} << "shelf"
                                     << "书架";
        // The first language the screens speak wins, however far down the list.
        QTest::newRow("fr, then zh_CN") << QStringList{"fr-FR", "zh-CN"} << "settings"
                                        << "下载覆盖提醒";
        QTest::newRow("fr, then en") << QStringList{"fr-FR", "en-GB", "zh-CN"} << "sort"
                                     << "By author";
    }

    void screensSpeakTheLocalesLanguage()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, screen);
        QFETCH(QString, expected);
        const bool english = !expected.contains(Chinese);

        TestDataRoot root;
        QVERIFY(root.renew());
        // A port that was free a moment ago: the store refuses at once.
        qputenv("ZARVOREADER_STORE", "127.0.0.1:" + QByteArray::number(LoopbackPort::pickFree()));
        TranslationLoader translations;
        QVERIFY(translations.load(uiLanguages));

        auto app = std::make_unique<EBookReaderApp>();
        ScreenDriver ui;
        QVERIFY(ui.attach(*app));
        QVERIFY(QMetaObject::invokeMethod(ui.root(), "showScreen", Q_ARG(QVariant, screen)));
        QStringList texts;
        const auto shown = [&] {
            texts.clear();
            collectTexts(ui.root(), texts);
            return texts.contains(expected);
        };
        QTRY_VERIFY2_WITH_TIMEOUT(shown(), qPrintable(texts.join(" | ")), 30000);
        if (english) {
            // Nothing Chinese is left on an English screen with no books.
            for (const QString &text : std::as_const(texts))
                QVERIFY2(!text.contains(Chinese), qPrintable(text));
        }
    }
};

QTEST_MAIN(TstTranslations)
#include "tst_translations.moc"
