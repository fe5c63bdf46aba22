#ifndef COLORSCHEME_H
#define COLORSCHEME_H

#include <QDBusConnection>
#include <QObject>
#include <QString>

class QDBusPendingCallWatcher;
class QDBusVariant;

// Whether the screens are drawn light or dark. The user picks "light",
// "dark" or "system"; "system" follows the desktop's colour-scheme
// preference from the freedesktop settings portal, and reads as light where
// there is no portal or no bus.
class ColorScheme : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString mode READ mode WRITE setMode NOTIFY modeChanged)
    Q_PROPERTY(bool systemDark READ systemDark NOTIFY systemDarkChanged)
    Q_PROPERTY(bool dark READ dark NOTIFY darkChanged)
public:
    explicit ColorScheme(QObject *parent = nullptr);
    // Asks the portal on the given bus instead of the session bus.
    ColorScheme(const QDBusConnection &bus, QObject *parent = nullptr);

    QString mode() const { return m_mode; }
    // Anything but "light" or "dark" means following the system.
    void setMode(const QString &mode);
    bool systemDark() const { return m_systemDark; }
    bool dark() const;

    // The portal's values: 1 prefers dark, 2 prefers light, 0 says nothing.
    static bool prefersDark(uint portalValue) { return portalValue == 1; }
    static QString normalMode(const QString &mode);

signals:
    void modeChanged(const QString &mode);
    void systemDarkChanged();
    void darkChanged();

private slots:
    void onSettingChanged(const QString &group, const QString &key, const QDBusVariant &value);
    void onReadFinished(QDBusPendingCallWatcher *call);

private:
    void ask(const QString &method);
    void setSystemValue(const QVariant &value);
    void changeDark(bool wasDark);

    QDBusConnection m_bus;
    QString m_mode = QStringLiteral("system");
    bool m_systemDark = false;
};

#endif // COLORSCHEME_H
