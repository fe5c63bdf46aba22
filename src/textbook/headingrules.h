#ifndef HEADINGRULES_H
#define HEADINGRULES_H

#include <QString>

// Which lines of a plain-text book start a chapter. A heading is a line of
// its own: after trimming spaces (full-width ones too) it holds at most
// MaxLength characters and has one of these forms:
//  - "第" numeral strong-unit [title]: units 章 节 回 讲 篇 话, the title may
//    follow the unit directly ("第一章风起");
//  - "第" numeral weak-unit [separator title]: units 卷 本 册 部 封 count only
//    before a separator or the line end, so "第一封信" and "第四本书" are words;
//  - a named part 序 序言 楔子 引子 前言 番外 后记 尾声, optionally numbered,
//    alone or before a separator ("后记：写在最后", but not "前言不搭后语");
//  - "Chapter 12", "chapter.012", any case, optionally with a separator title.
// Numerals are ASCII and full-width digits, 〇 零 一 … 九 十 百 千 万 两 and
// the banker's forms 壹 贰 叁 肆 伍 陆 柒 捌 玖 拾 佰 仟 (traditional forms of
// units and numerals are taken too).
class HeadingRules
{
public:
    // Longer lines are prose, however they start.
    static constexpr int MaxLength = 40;

    static bool isHeading(const QString &line);
};

#endif // HEADINGRULES_H
