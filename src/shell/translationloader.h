#ifndef TRANSLATIONLOADER_H
#define TRANSLATIONLOADER_H

#include <QLocale>
#include <QStringList>
#include <memory>

class QTranslator;

// Chooses the language of the screens from the user's locale and installs
// its translation. The screens are written in Chinese, so a Chinese locale
// needs nothing; every other language gets the English translation, which
// lives in "translations" beside the program's own folder.
class TranslationLoader
{
public:
    enum Language
    {
        Chinese,
        English
    };

    TranslationLoader();
    ~TranslationLoader();

    // The first of the user's languages (most wanted first, as in
    // QLocale::uiLanguages()) that the screens speak; English when none is.
    static Language languageFor(const QStringList &uiLanguages);
    // Installs the translation for these languages in the application,
    // replacing one installed before. False when the translation could not
    // be loaded: the screens then stay in Chinese.
    bool load(const QStringList &uiLanguages = QLocale::system().uiLanguages());
    Language language() const { return m_language; }

    static QString translationFile();

private:
    Language m_language = Chinese;
    std::unique_ptr<QTranslator> m_translator;
};

#endif // TRANSLATIONLOADER_H
