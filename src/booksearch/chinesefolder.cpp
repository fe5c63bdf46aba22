#include "chinesefolder.h"

#include <QByteArray>
#include <QList>
#include <memory>
#include <opencc/opencc.h>

namespace {
// The blocks where traditional and simplified forms differ: radicals, CJK
// symbols, extension A, the unified ideographs and the compatibility ones.
constexpr char16_t ChineseBlocks[][2] = {{0x2E80, 0x9FFF}, {0xF900, 0xFAFF}};

struct OpenCCCloser
{
    void operator()(void *handle) const { opencc_close(handle); }
};
struct OpenCCFree
{
    void operator()(char *text) const { opencc_convert_utf8_free(text); }
};

// One character per line, so that no phrase rule applies across characters.
QByteArray oneCharacterPerLine()
{
    QString lines;
    for (const auto &block : ChineseBlocks) {
        for (char32_t c = block[0]; c <= block[1]; ++c) {
            lines.append(QChar(char16_t(c)));
            lines.append(QLatin1Char('\n'));
        }
    }
    return lines.toUtf8();
}
} // namespace

const ChineseFolder &ChineseFolder::instance()
{
    static const ChineseFolder folder;
    return folder;
}

ChineseFolder::ChineseFolder()
{
    for (size_t i = 0; i < m_table.size(); ++i)
        m_table[i] = char16_t(i);
    foldLetterCase();
    m_chinese = foldTraditional();
    settle();
}

void ChineseFolder::foldLetterCase()
{
    for (size_t i = 0; i < m_table.size(); ++i) {
        const char16_t unit = char16_t(i);
        if (QChar::isSurrogate(unit))
            continue;
        m_table[i] = QChar::toCaseFolded(unit);
    }
}

bool ChineseFolder::foldTraditional()
{
    // OpenCC looks for the configuration among its installed data.
    opencc_t handle = opencc_open("t2s.json");
    if (!handle || handle == reinterpret_cast<opencc_t>(-1))
        return false;
    const std::unique_ptr<void, OpenCCCloser> converter(handle);
    const QByteArray input = oneCharacterPerLine();
    const std::unique_ptr<char, OpenCCFree> output(
        opencc_convert_utf8(converter.get(), input.constData(), size_t(input.size())));
    if (!output)
        return false;
    const QString converted = QString::fromUtf8(output.get());
    const QList<QStringView> lines = QStringView(converted).split(u'\n');
    // Characters keep their order; a line that is not one character (a
    // conversion to two, say) leaves that character as it is.
    qsizetype line = 0;
    for (const auto &block : ChineseBlocks) {
        for (char32_t c = block[0]; c <= block[1]; ++c, ++line) {
            if (line < lines.size() && lines.at(line).size() == 1)
                m_table[c] = lines.at(line).at(0).unicode();
        }
    }
    return line <= lines.size();
}

void ChineseFolder::settle()
{
    // A character whose simplified form is itself the traditional form of
    // another must end where that one ends, or the two would not meet.
    for (int round = 0; round < 3; ++round) {
        for (auto &target : m_table)
            target = m_table[target];
    }
}

QString ChineseFolder::fold(const QString &text) const
{
    QString folded(text.size(), Qt::Uninitialized);
    const char16_t *from = reinterpret_cast<const char16_t *>(text.constData());
    char16_t *to = reinterpret_cast<char16_t *>(folded.data());
    for (qsizetype i = 0; i < text.size(); ++i)
        to[i] = m_table[from[i]];
    return folded;
}
