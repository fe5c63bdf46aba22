#ifndef ONLINESEARCHINGBOOKINFO_H
#define ONLINESEARCHINGBOOKINFO_H

#include <QString>

// One row of the search result page.
class OnlineSearchingBookInfo
{
public:
    void setBookID(const QString &id) { m_id = id; }
    QString getBookID() const { return m_id; }
    void setBookName(const QString &name) { m_name = name; }
    QString getBookName() const { return m_name; }
    void setIconPath(const QString &path) { m_iconPath = path; }
    QString getIconPath() const { return m_iconPath; }
    void setAuthorName(const QString &author) { m_author = author; }
    QString getAuthorName() const { return m_author; }
    void setBookPresentation(const QString &text) { m_presentation = text; }
    QString getBookPresentation() const { return m_presentation; }

private:
    QString m_id = QStringLiteral("None");
    QString m_name = QStringLiteral("None");
    QString m_iconPath = QStringLiteral("pics/dai.png");
    QString m_author = QStringLiteral("None");
    QString m_presentation = QStringLiteral("None");
};

#endif // ONLINESEARCHINGBOOKINFO_H
