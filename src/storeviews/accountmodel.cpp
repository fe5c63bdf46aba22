#include "accountmodel.h"

AccountModel::AccountModel(QObject *parent) : QAbstractListModel(parent)
{
    m_roles.insert(ItemTextRole, "itemText");
    m_roles.insert(OutPutTextRole, "outPutText");
}

AccountModel::~AccountModel() = default;

bool AccountModel::isValidRow(int index) const
{
    return index >= 0 && index < static_cast<int>(m_itemList.size());
}

bool AccountModel::insertItem(const AccountItem *item)
{
    if (!item)
        return false;
    auto copy = std::make_unique<AccountItem>();
    copy->copyAccountItem(item);
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_itemList.push_back(std::move(copy));
    endInsertRows();
    return true;
}

bool AccountModel::removeAllItem()
{
    if (m_itemList.empty())
        return false;
    beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
    m_itemList.clear();
    endRemoveRows();
    return true;
}

bool AccountModel::deleteItem(int index)
{
    if (!isValidRow(index))
        return false;
    beginRemoveRows(QModelIndex(), index, index);
    m_itemList.erase(m_itemList.begin() + index);
    endRemoveRows();
    return true;
}

int AccountModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(m_itemList.size());
}

QVariant AccountModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !isValidRow(index.row()))
        return QVariant();
    const AccountItem &item = *m_itemList[index.row()];
    if (role == ItemTextRole)
        return item.m_itemId;
    if (role == OutPutTextRole)
        return item.m_itemContent;
    return QVariant();
}

bool AccountModel::setData(const QModelIndex &, const QVariant &, int)
{
    return true;
}

Qt::ItemFlags AccountModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

QHash<int, QByteArray> AccountModel::roleNames() const
{
    return m_roles;
}
