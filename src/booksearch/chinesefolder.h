#ifndef CHINESEFOLDER_H
#define CHINESEFOLDER_H

#include <QString>
#include <array>

// Folds text to one form for matching: traditional characters to simplified
// ones and letters to lower case, one UTF-16 code unit for another, so an
// offset in the folded text is the same offset in the original.
class ChineseFolder
{
public:
    // The one table, built on first use from OpenCC's traditional-to-
    // simplified dictionaries (safe to call from any thread).
    static const ChineseFolder &instance();

    char16_t fold(char16_t unit) const { return m_table[unit]; }
    QString fold(const QString &text) const;
    // Whether OpenCC's dictionaries could be read; without them only letter
    // case is folded.
    bool hasChineseFolding() const { return m_chinese; }

private:
    ChineseFolder();
    void foldLetterCase();
    bool foldTraditional();
    void settle();

    std::array<char16_t, 0x10000> m_table{};
    bool m_chinese = false;
};

#endif // CHINESEFOLDER_H
