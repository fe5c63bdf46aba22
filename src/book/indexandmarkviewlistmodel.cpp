#include "indexandmarkviewlistmodel.h"

namespace {
// Width of the "yyyy-MM-dd" date that starts a bookmark row.
constexpr int DateWidth = 10;
} // namespace

indexAndMarkViewListModel::indexAndMarkViewListModel(QObject *parent)
    : StoredListModel({{MenuTextRole, "menutext"}}, parent)
{
    // Nothing is connected yet; the screen starts on the chapter list.
    emit switchToIndexOrBook(0);
}

int indexAndMarkViewListModel::rowCount(const QModelIndex &parent) const
{
    return StoredListModel::rowCount(parent);
}

int indexAndMarkViewListModel::storedCount() const
{
    return int(m_itemList.size());
}

QVariant indexAndMarkViewListModel::storedData(int row, int role) const
{
    if (role != MenuTextRole)
        return QVariant();
    return m_itemList.at(row);
}

bool indexAndMarkViewListModel::insertItem(QString something)
{
    insertStoredRow(storedCount(), [&] { m_itemList.append(something); });
    setlistcount(storedCount());
    return true;
}

bool indexAndMarkViewListModel::deleteItem(int aindex)
{
    if (!removeStoredRow(aindex, [&] { m_itemList.removeAt(aindex); }))
        return false;
    setlistcount(storedCount());
    return true;
}

void indexAndMarkViewListModel::updateList(int index)
{
    emit switchToIndexOrBook(index);
}

void indexAndMarkViewListModel::clearAll()
{
    if (removeAllStoredRows([&] { m_itemList.clear(); }))
        setlistcount(0);
}

QString indexAndMarkViewListModel::retDate(QString aStr) const
{
    if (aStr.size() < DateWidth)
        return QString();
    return aStr.left(DateWidth);
}

QString indexAndMarkViewListModel::retCon(QString aStr) const
{
    if (aStr.size() < DateWidth)
        return QString();
    return aStr.mid(DateWidth);
}

void indexAndMarkViewListModel::setlistcount(int count)
{
    m_listcount = count < 0 ? 0u : unsigned(count);
    emit listcountChanged();
}
