#ifndef BOOKCHAPTERSOURCE_H
#define BOOKCHAPTERSOURCE_H

#include "vbpreader.h"
#include "vrrbookinfo.h"

#include <QString>
#include <memory>

// One book package read a chapter at a time through a package reader of its
// own, with the text of a chapter built exactly as the reading engine builds
// it, so that an offset in it is an offset in the engine's chapter.
class BookChapterSource
{
public:
    BookChapterSource();
    ~BookChapterSource();

    // Opens the package; the package reader's code.
    int open(const QString &bookId, const QString &path);
    bool isOpenFor(const QString &bookId, const QString &path) const;
    int chapterCount() const { return int(m_info ? m_info->m_caplist.size() : 0); }
    // Chapters count from 1, as on the reading screen.
    QString chapterName(int chapterNum) const;
    // Reads the chapter's text into text, reusing its room; the package
    // reader's code, or EFileNumError for a chapter the book does not have.
    int readChapter(int chapterNum, QString &text);

private:
    std::unique_ptr<VbpReader> m_reader;
    std::unique_ptr<VRRBookInfo> m_info;
    QString m_bookId;
    QString m_path;
};

#endif // BOOKCHAPTERSOURCE_H
