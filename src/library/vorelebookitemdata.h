#ifndef VORELEBOOKITEMDATA_H
#define VORELEBOOKITEMDATA_H

#include <QString>

// One shelf entry, one row of the book table.
class VorelEBookItemData
{
public:
    VorelEBookItemData();
    VorelEBookItemData(QString bookId, const uint &lastReadingDate, const uint &downLoadingDate,
                       QString bookName, QString iconPath);
    VorelEBookItemData(const VorelEBookItemData &) = default;
    VorelEBookItemData &operator=(const VorelEBookItemData &) = default;
    virtual ~VorelEBookItemData();

    void clearBoodData();

    QString m_bookId;
    QString m_bookName;
    QString m_bookAuthor;
    quint32 m_bookSize = 0; // package size in kilobytes
    QString m_bookStorePath;
    QString m_bookIconPath;
    qint32 m_bookMarkFlag = 0;     // 1 = new, not yet opened
    quint32 m_lastReadingDate = 0; // seconds since 1970, 0 = never read
    quint32 m_downLoadingDate = 0; // seconds since 1970, 0 = found by a folder scan
};

#endif // VORELEBOOKITEMDATA_H
