#include "onlinesearchingkeypagemodel.h"

#include "searchbookmgr.h"

OnlineSearchingKeyPageModel::OnlineSearchingKeyPageModel(SearchBookMgr &searchBookMgr,
                                                         QObject *parent)
    : QAbstractListModel(parent), m_searchBookMgr(searchBookMgr)
{
    m_roles.insert(KeywordRole, "keyword");
}

bool OnlineSearchingKeyPageModel::insertItem(const QString &keyword)
{
    const int row = m_keyWordList.size();
    beginInsertRows(QModelIndex(), row, row);
    m_keyWordList.append(keyword);
    endInsertRows();
    return true;
}

bool OnlineSearchingKeyPageModel::removeAllItem()
{
    if (m_keyWordList.isEmpty())
        return false;
    beginRemoveRows(QModelIndex(), 0, m_keyWordList.size() - 1);
    m_keyWordList.clear();
    endRemoveRows();
    return true;
}

bool OnlineSearchingKeyPageModel::deleteItem(int index)
{
    if (index < 0 || index >= m_keyWordList.size())
        return false;
    beginRemoveRows(QModelIndex(), index, index);
    m_keyWordList.removeAt(index);
    endRemoveRows();
    return true;
}

int OnlineSearchingKeyPageModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_keyWordList.size();
}

QVariant OnlineSearchingKeyPageModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_keyWordList.size())
        return QVariant();
    if (role != KeywordRole)
        return QVariant();
    return m_keyWordList.at(index.row());
}

bool OnlineSearchingKeyPageModel::setData(const QModelIndex &, const QVariant &, int)
{
    return true;
}

Qt::ItemFlags OnlineSearchingKeyPageModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

QHash<int, QByteArray> OnlineSearchingKeyPageModel::roleNames() const
{
    return m_roles;
}

void OnlineSearchingKeyPageModel::handleSelectInputText(QString str)
{
    m_searchBookMgr.setKeywords(str);
}

void OnlineSearchingKeyPageModel::handleKeyWordClick(int index)
{
    if (index < 0 || index >= m_keyWordList.size())
        return;
    m_searchBookMgr.setKeywords(m_keyWordList.at(index));
}
