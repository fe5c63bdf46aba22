#include "vorelebookchapteritemdata.h"

VorelEBookChapterItemData::VorelEBookChapterItemData()
    : m_bookChapterId(QLatin1String("")), m_bookChapterName(QLatin1String(""))
{}

VorelEBookChapterItemData::VorelEBookChapterItemData(const QString &chapterId, int readingPageNum,
                                                     const QString &chapterName)
    : m_bookChapterId(chapterId), m_bookReadingPageNum(readingPageNum),
      m_bookChapterName(chapterName)
{}

VorelEBookChapterItemData::~VorelEBookChapterItemData() = default;
