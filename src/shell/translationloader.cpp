#include "translationloader.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTranslator>

TranslationLoader::TranslationLoader() = default;

// The translator removes itself from the application when deleted.
TranslationLoader::~TranslationLoader() = default;

TranslationLoader::Language TranslationLoader::languageFor(const QStringList &uiLanguages)
{
    for (const QString &name : uiLanguages) {
        // "zh", "zh_CN", "zh-Hant-TW": any script or region of Chinese.
        const QString language =
            name.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('-'), 0, 0);
        if (language.compare(QLatin1String("zh"), Qt::CaseInsensitive) == 0)
            return Chinese;
        if (language.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0)
            return English;
    }
    return English;
}

QString TranslationLoader::translationFile()
{
    return QCoreApplication::applicationDirPath() +
           QLatin1String("/../translations/zarvoreader_en.qm");
}

bool TranslationLoader::load(const QStringList &uiLanguages)
{
    m_translator.reset();
    m_language = languageFor(uiLanguages);
    if (m_language == Chinese)
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(translationFile())) {
        QTextStream(stderr) << "zarvoreader: cannot load " << translationFile()
                            << "; the screens stay in Chinese\n";
        m_language = Chinese;
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    return true;
}
