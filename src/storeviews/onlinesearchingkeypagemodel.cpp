#include "onlinesearchingkeypagemodel.h"

#include "searchbookmgr.h"

OnlineSearchingKeyPageModel::OnlineSearchingKeyPageModel(SearchBookMgr &searchBookMgr,
                                                         QObject *parent)
    : StoredListModel({{KeywordRole, "keyword"}}, parent), m_searchBookMgr(searchBookMgr)
{}

bool OnlineSearchingKeyPageModel::insertItem(const QString &keyword)
{
    return insertStoredRow(storedCount(), [&] { m_keyWordList.append(keyword); });
}

bool OnlineSearchingKeyPageModel::removeAllItem()
{
    return removeAllStoredRows([&] { m_keyWordList.clear(); });
}

bool OnlineSearchingKeyPageModel::deleteItem(int index)
{
    return removeStoredRow(index, [&] { m_keyWordList.removeAt(index); });
}

int OnlineSearchingKeyPageModel::storedCount() const
{
    return m_keyWordList.size();
}

QVariant OnlineSearchingKeyPageModel::storedData(int row, int role) const
{
    if (role != KeywordRole)
        return QVariant();
    return m_keyWordList.at(row);
}

void OnlineSearchingKeyPageModel::handleSelectInputText(QString str)
{
    m_searchBookMgr.setKeywords(str);
}

void OnlineSearchingKeyPageModel::handleKeyWordClick(int index)
{
    if (!isValidRow(index))
        return;
    m_searchBookMgr.setKeywords(m_keyWordList.at(index));
}
