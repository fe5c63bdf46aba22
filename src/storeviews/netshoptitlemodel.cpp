#include "netshoptitlemodel.h"

NetShopTitleModel::NetShopTitleModel(QObject *parent)
    : StoredListModel({{NameRole, "name"}}, parent)
{}

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
    return insertStoredRow(storedCount(), [&] { m_itemList.append(name); });
}

bool NetShopTitleModel::prependItem(const QString &name)
{
    return insertStoredRow(0, [&] { m_itemList.prepend(name); });
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
    return removeStoredRow(index, [&] { m_itemList.removeAt(index); });
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
    // The ids are dropped only together with the names.
    if (m_idList.isEmpty() || !removeAllStoredRows([&] { m_itemList.clear(); }))
        return false;
    m_idList.clear();
    return true;
}

int NetShopTitleModel::storedCount() const
{
    return m_itemList.size();
}

QVariant NetShopTitleModel::storedData(int row, int role) const
{
    if (role != NameRole)
        return QVariant();
    return m_itemList.at(row);
}
