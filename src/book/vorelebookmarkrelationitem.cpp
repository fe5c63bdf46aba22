#include "vorelebookmarkrelationitem.h"

VorelEBookMarkRelationItem::VorelEBookMarkRelationItem()
    : m_bookId(QLatin1String("")), m_bookName(QLatin1String("")),
      m_bookChapterId(QLatin1String("")), m_bookChapterName(QLatin1String("")),
      m_bookMarkDes(QLatin1String("")),
      // Parsing an empty text gives the invalid date an undated mark carries.
      m_bookMarkDate(QDateTime::fromString(QString(), QStringLiteral("yyyy.M.d.h.m.s")))
{}

VorelEBookMarkRelationItem::VorelEBookMarkRelationItem(
    const QString &bookId, const QString &bookName, const QString &bookChapterId,
    int bookReadingPageNum, const QString &bookChapterName, int chapterpageNum,
    const QString &bookMarkDes, const QDateTime &bookMarkDate)
    : m_bookId(bookId), m_bookName(bookName), m_bookChapterId(bookChapterId),
      m_bookReadingPageNum(bookReadingPageNum), m_bookChapterName(bookChapterName),
      m_chapterpageNum(chapterpageNum), m_bookMarkDes(bookMarkDes), m_bookMarkDate(bookMarkDate)
{}

VorelEBookMarkRelationItem::~VorelEBookMarkRelationItem() = default;
