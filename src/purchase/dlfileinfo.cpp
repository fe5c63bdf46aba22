#include "dlfileinfo.h"

DLFileInfo::DLFileInfo(const QString &fileName) : m_fileName(fileName) {}

DLFileInfo::DLFileInfo(const QString &fileName, const QString &url, const QString &stye,
                       qint64 totalSize, qint64 currentSize, const QString &filePath, State state,
                       const QString &bookName, const QString &picPath)
    : m_fileName(fileName), m_url(url), m_stye(stye), m_totalSize(totalSize),
      m_currentSize(currentSize), m_filePath(filePath), m_state(state), m_bookName(bookName),
      m_picPath(picPath)
{}
