#ifndef VORELEBOOKCHAPTERITEMDATA_H
#define VORELEBOOKCHAPTERITEMDATA_H

#include <QString>

// The stored reading position of one book: which chapter and which page of it.
class VorelEBookChapterItemData
{
public:
    VorelEBookChapterItemData();
    VorelEBookChapterItemData(const QString &chapterId, int readingPageNum,
                              const QString &chapterName);
    VorelEBookChapterItemData(const VorelEBookChapterItemData &) = default;
    VorelEBookChapterItemData &operator=(const VorelEBookChapterItemData &) = default;
    virtual ~VorelEBookChapterItemData();

    QString m_bookChapterId;       // id of the chapter entry in the book description
    int m_bookReadingPageNum = -1; // 0-based page within that chapter
    QString m_bookChapterName;
};

#endif // VORELEBOOKCHAPTERITEMDATA_H
