#ifndef VORELEBOOKMARKRELATIONITEM_H
#define VORELEBOOKMARKRELATIONITEM_H

#include <QDateTime>
#include <QString>

// One bookmark. The library identifies it by (book id, chapter id, page).
class VorelEBookMarkRelationItem
{
public:
    VorelEBookMarkRelationItem();
    VorelEBookMarkRelationItem(const QString &bookId, const QString &bookName,
                               const QString &bookChapterId, int bookReadingPageNum,
                               const QString &bookChapterName, int chapterpageNum,
                               const QString &bookMarkDes, const QDateTime &bookMarkDate);
    VorelEBookMarkRelationItem(const VorelEBookMarkRelationItem &) = default;
    VorelEBookMarkRelationItem &operator=(const VorelEBookMarkRelationItem &) = default;
    virtual ~VorelEBookMarkRelationItem();

    QString m_bookId;
    QString m_bookName;
    QString m_bookChapterId;
    int m_bookReadingPageNum = -1; // 0-based page within the chapter
    QString m_bookChapterName;
    int m_chapterpageNum = -1; // 1-based chapter number in the book
    QString m_bookMarkDes;     // first non-blank line of the marked page
    QDateTime m_bookMarkDate;  // invalid until the mark is dated
};

#endif // VORELEBOOKMARKRELATIONITEM_H
