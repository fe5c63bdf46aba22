#include "netshoptitlemodel.h"

NetShopTitleModel::NetShopTitleModel(QObject *parent) : QAbstractListModel(parent)
{
    m_roles.insert(NameRole, "name");
}

QString NetShopTitleModel::getIdString(int index)
{
    if (index < 0 || index >= m_idList.size())
        return QString();
    return m_idList.at(index);
}

int NetShopTitleModel::getRealIndex(int index)
{
    const int count = m_itemList.size();
    if (count == 0)
        return 0;
    // The remainder keeps the sign of index, as the title bar expects.
    return index % count;
}

bool NetShopTitleModel::insertItem(const QString &name)
{
    const int row = m_itemList.size();
    beginInsertRows(QModelIndex(), row, row);
    m_itemList.append(name);
    endInsertRows();
    return true;
}

bool NetShopTitleModel::prependItem(const QString &name)
{
    beginInsertRows(QModelIndex(), 0, 0);
    m_itemList.prepend(name);
    endInsertRows();
    return true;
}

bool NetShopTitleModel::insertIdItem(const QString &id)
{
    m_idList.append(id);
    return true;
}

bool NetShopTitleModel::prependIdItem(const QString &id)
{
    m_idList.prepend(id);
    return true;
}

bool NetShopTitleModel::deleteItem(int index)
{
    if (index < 0 || index >= m_itemList.size())
        return false;
    beginRemoveRows(QModelIndex(), index, index);
    m_itemList.removeAt(index);
    endRemoveRows();
    return true;
}

bool NetShopTitleModel::deleteIdItem(int index)
{
    if (index < 0 || index >= m_idList.size())
        return false;
    m_idList.removeAt(index);
    return true;
}

bool NetShopTitleModel::removeAllItem()
{
    if (m_itemList.isEmpty() || m_idList.isEmpty())
        return false;
    beginRemoveRows(QModelIndex(), 0, m_itemList.size() - 1);
    m_itemList.clear();
    endRemoveRows();
    m_idList.clear();
    return true;
}

int NetShopTitleModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_itemList.size();
}

QVariant NetShopTitleModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_itemList.size())
        return QVariant();
    if (role != NameRole)
        return QVariant();
    return m_itemList.at(index.row());
}

bool NetShopTitleModel::setData(const QModelIndex &, const QVariant &, int)
{
    return true;
}

Qt::ItemFlags NetShopTitleModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

QHash<int, QByteArray> NetShopTitleModel::roleNames() const
{
    return m_roles;
}
