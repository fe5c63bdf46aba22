#include "vorelebookitemdata.h"

#include <utility>

VorelEBookItemData::VorelEBookItemData()
    : m_bookId(QLatin1String("")), m_bookName(QLatin1String("")), m_bookAuthor(QLatin1String("")),
      m_bookStorePath(QLatin1String("")), m_bookIconPath(QLatin1String(""))
{}

VorelEBookItemData::VorelEBookItemData(QString bookId, const uint &lastReadingDate,
                                       const uint &downLoadingDate, QString bookName,
                                       QString iconPath)
    : m_bookId(std::move(bookId)), m_bookName(std::move(bookName)), m_bookAuthor(QLatin1String("")),
      m_bookStorePath(QLatin1String("")), m_bookIconPath(std::move(iconPath)),
      m_lastReadingDate(lastReadingDate), m_downLoadingDate(downLoadingDate)
{}

VorelEBookItemData::~VorelEBookItemData() = default;

void VorelEBookItemData::clearBoodData()
{
    m_bookId.clear();
    m_bookName.clear();
    m_bookAuthor.clear();
    m_bookStorePath.clear();
    m_bookIconPath.clear();
    m_bookSize = 0;
    m_bookMarkFlag = 0;
    m_lastReadingDate = 0;
    m_downLoadingDate = 0;
}
