#include "headingrules.h"

#include <QRegularExpression>

namespace {

// Character classes shared by the forms below.
const QString Numeral =
    QStringLiteral("[0-9０-９〇零一二三四五六七八九十百千万萬两兩壹贰貳叁參肆伍陆陸柒捌玖拾佰仟]+");
const QString Separator = QStringLiteral("[\\s:：、.．·・,，—–\\-_(（\\[【《「]");
const QString StrongUnit = QStringLiteral("[章节節回讲講篇话話]");
const QString WeakUnit = QStringLiteral("[卷本册冊部封]");
const QString NamedPart = QStringLiteral("(?:序言|序|楔子|引子|前言|番外|后记|後記|尾声|尾聲)");

// Nothing more, or a separator and a title.
QString endOrTitle()
{
    return QStringLiteral("(?:%1.*)?$").arg(Separator);
}

const QRegularExpression &headingPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(
            "^(?:第\\s*%1\\s*(?:%2.*|%3%4)|%5(?:%1)?%4|chapter\\s*\\.?\\s*[0-9０-９]+%4)")
            .arg(Numeral, StrongUnit, WeakUnit, endOrTitle(), NamedPart),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

} // namespace

bool HeadingRules::isHeading(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > MaxLength)
        return false;
    return headingPattern().match(trimmed).hasMatch();
}
