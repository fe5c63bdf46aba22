#ifndef FOLDEDPATTERN_H
#define FOLDEDPATTERN_H

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

class ChineseFolder;

// A query made ready for matching folded: the text is read as it stands and
// each unit is folded only where the query's first unit could match, so
// searching costs a scan and no copy of the text.
class FoldedPattern
{
public:
    explicit FoldedPattern(const QString &query);

    bool isEmpty() const { return m_folded.isEmpty(); }
    qsizetype length() const { return m_folded.size(); }
    // Where the query first matches text at or after from, or -1.
    qsizetype indexIn(QStringView text, qsizetype from) const;

private:
    bool matchesAt(const char16_t *text, qsizetype at) const;
    qsizetype scanWithVectors(const char16_t *text, qsizetype size, qsizetype from) const;
    qsizetype scanOneByOne(const char16_t *text, qsizetype size, qsizetype from) const;

    const ChineseFolder &m_folder;
    QString m_folded;
    // Every unit that folds to the query's first unit; beyond a handful the
    // plain loop is as quick.
    QVarLengthArray<char16_t, 8> m_firstUnits;
    static constexpr qsizetype MaxVectorUnits = 8;
};

#endif // FOLDEDPATTERN_H
