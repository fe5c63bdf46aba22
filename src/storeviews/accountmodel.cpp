#include "accountmodel.h"

AccountModel::AccountModel(QObject *parent)
    : StoredListModel({{ItemTextRole, "itemText"}, {OutPutTextRole, "outPutText"}}, parent)
{}

AccountModel::~AccountModel() = default;

bool AccountModel::insertItem(const AccountItem *item)
{
    if (!item)
        return false;
    auto copy = std::make_unique<AccountItem>();
    copy->copyAccountItem(item);
    return insertStoredRow(storedCount(), [&] { m_itemList.push_back(std::move(copy)); });
}

bool AccountModel::removeAllItem()
{
    return removeAllStoredRows([&] { m_itemList.clear(); });
}

bool AccountModel::deleteItem(int index)
{
    return removeStoredRow(index, [&] { m_itemList.erase(m_itemList.begin() + index); });
}

int AccountModel::storedCount() const
{
    return static_cast<int>(m_itemList.size());
}

QVariant AccountModel::storedData(int row, int role) const
{
    const AccountItem &item = *m_itemList[row];
    if (role == ItemTextRole)
        return item.m_itemId;
    if (role == OutPutTextRole)
        return item.m_itemContent;
    return QVariant();
}
