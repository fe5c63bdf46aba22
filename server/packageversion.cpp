#include "packageversion.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

namespace {
const char *const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
} // namespace

PackageVersion::PackageVersion(const QFileInfo &file)
{
    const QDateTime modified = file.lastModified().toUTC();
    // Milliseconds in the tag tell apart two versions written within a second.
    m_etag = '"' + QByteArray::number(file.size(), 16) + '-' +
             QByteArray::number(modified.toMSecsSinceEpoch(), 16) + '"';
    m_modified = QDateTime::fromSecsSinceEpoch(modified.toSecsSinceEpoch(), Qt::UTC);
}

bool PackageVersion::rangeAllowed(const QByteArray &ifRange) const
{
    const QByteArray value = ifRange.trimmed();
    if (value.isEmpty())
        return true;
    // Weak tags ("W/...") never match here: a range needs byte-equal content.
    if (value.startsWith('"'))
        return value == m_etag;
    const QDateTime date = readHttpDate(value);
    return date.isValid() && date >= m_modified;
}

QByteArray PackageVersion::httpDate(const QDateTime &time)
{
    return QLocale::c()
        .toString(time.toUTC(), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"))
        .toLatin1();
}

QDateTime PackageVersion::readHttpDate(const QByteArray &text)
{
    // Built per call: requests are read on several threads at once.
    const QRegularExpression form(QStringLiteral(
        R"(^[A-Z][a-z]{2}, (\d{2}) ([A-Z][a-z]{2}) (\d{4}) (\d{2}):(\d{2}):(\d{2}) GMT$)"));
    const QRegularExpressionMatch match = form.match(QString::fromLatin1(text));
    if (!match.hasMatch())
        return {};
    int month = 0;
    while (month < 12 && match.captured(2) != QLatin1String(Months[month]))
        ++month;
    const QDate date(match.captured(3).toInt(), month + 1, match.captured(1).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(),
                     match.captured(6).toInt());
    if (month == 12 || !date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}
