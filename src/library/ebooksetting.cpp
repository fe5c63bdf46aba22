#include "ebooksetting.h"

#include "commondef.h"

#include <QSettings>

namespace {
const char *const NotifyKey = "IsNotifyUserOverwriteDL";
// A group of our own, so the described key stays alone in the general section.
const char *const ColorSchemeKey = "Display/colorScheme";
} // namespace

EBookSetting::EBookSetting(QObject *parent)
    : QObject(parent), m_setting(std::make_unique<QSettings>(BookInfoFolder + "/ebooksetting.ini",
                                                             QSettings::IniFormat))
{
    if (m_setting->contains(QLatin1String(NotifyKey)))
        return;
    m_setting->setValue(QLatin1String(NotifyKey), true);
    m_setting->sync();
}

EBookSetting::~EBookSetting() = default;

bool EBookSetting::getIsNotifyUserOverwriteDL()
{
    const QVariant value = m_setting->value(QLatin1String(NotifyKey));
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    // The file holds text; only "true" counts, anything else (or nothing) is false.
    return value.toString().trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

void EBookSetting::setIsNotifyUserOverwriteDL(bool isNotifyUserOverwriteDL)
{
    m_setting->setValue(QLatin1String(NotifyKey), isNotifyUserOverwriteDL);
    // Written at once, so a crash or power loss keeps the user's choice.
    m_setting->sync();
}

QString EBookSetting::getColorScheme()
{
    return m_setting->value(QLatin1String(ColorSchemeKey), QStringLiteral("system")).toString();
}

void EBookSetting::setColorScheme(const QString &colorScheme)
{
    m_setting->setValue(QLatin1String(ColorSchemeKey), colorScheme);
    m_setting->sync();
}
