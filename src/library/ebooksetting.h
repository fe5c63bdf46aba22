#ifndef EBOOKSETTING_H
#define EBOOKSETTING_H

#include <QObject>
#include <memory>

class QSettings;

// The user's preferences, kept in an INI file beside the cover images.
class EBookSetting : public QObject
{
    Q_OBJECT

public:
    explicit EBookSetting(QObject *parent = nullptr);
    ~EBookSetting() override;

    // Whether to ask before a download overwrites a book already on the device.
    Q_INVOKABLE bool getIsNotifyUserOverwriteDL();
    Q_INVOKABLE void setIsNotifyUserOverwriteDL(bool isNotifyUserOverwriteDL);
    // How the screens are coloured: "light", "dark" or "system" (the default).
    // The text is kept as given; the colour scheme reads anything else as
    // "system".
    Q_INVOKABLE QString getColorScheme();
    Q_INVOKABLE void setColorScheme(const QString &colorScheme);

private:
    std::unique_ptr<QSettings> m_setting;
};

#endif // EBOOKSETTING_H
