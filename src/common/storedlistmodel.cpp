#include "storedlistmodel.h"

#include <utility>

StoredListModel::StoredListModel(QHash<int, QByteArray> roles, QObject *parent)
    : QAbstractListModel(parent), m_roles(std::move(roles))
{}

int StoredListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return storedCount();
}

QVariant StoredListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !isValidRow(index.row()))
        return QVariant();
    return storedData(index.row(), role);
}

bool StoredListModel::setData(const QModelIndex &, const QVariant &, int)
{
    return true;
}

Qt::ItemFlags StoredListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

QHash<int, QByteArray> StoredListModel::roleNames() const
{
    return m_roles;
}
