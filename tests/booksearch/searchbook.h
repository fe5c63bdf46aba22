#ifndef SEARCHBOOK_H
#define SEARCHBOOK_H

// A small made-up book for the search tests: simplified and traditional
// forms, hits at chapter starts and ends, a word cut by a chapter boundary,
// line breaks of both kinds and a chapter of many text pieces.

#include "bookpacker.h"

#include <QPoint>
#include <QString>

namespace SearchBook {

inline QString longChapter()
{
    // Past one text piece and past one stretch between two looks for a new
    // query, with hits right across both seams.
    QString text(70000, QChar(0x6d4b)); // 测
    text.replace(BookPacker::PieceUnits - 1, 2, QStringLiteral("长安"));
    text.replace(64 * 1024 - 1, 2, QStringLiteral("长安"));
    return text;
}

inline QString filler(int lines)
{
    QString text;
    for (int i = 1; i <= lines; ++i)
        text += QStringLiteral("第%1行文字\r\n").arg(i, 2, 10, QLatin1Char('0'));
    return text;
}

inline QList<BookSource::Chapter> chapters()
{
    return {
        {QStringLiteral("开篇"),
         QStringLiteral("长安城外，测试书开篇。\n故鄉何处？\n末尾一字是长")},
        {QStringLiteral("中篇"), QStringLiteral("安定门前。\n") + filler(25) +
                                     QStringLiteral("一二三四五六七八九十百千万亿兆\n"
                                                    "故乡与故鄉，\r皆是故乡。\n") +
                                     filler(30) + QStringLiteral("長安道上行人少。\n")},
        {QStringLiteral("长卷"), longChapter()},
        {QStringLiteral("终篇"), QStringLiteral("最后一句写的是長安")},
    };
}

inline BookSource source()
{
    return {QStringLiteral("zr-searchbook"),
            QStringLiteral("搜索测试书"),
            QStringLiteral("测试"),
            {},
            {},
            chapters()};
}

// Where the nth (from 0) written form stands: (chapter from 1, offset).
inline QPoint at(int chapter, const QString &written, int nth = 0)
{
    const QString text = chapters().at(chapter - 1).text;
    qsizetype offset = -1;
    for (int i = 0; i <= nth; ++i)
        offset = text.indexOf(written, offset + 1);
    return QPoint(chapter, int(offset));
}

} // namespace SearchBook

#endif // SEARCHBOOK_H
