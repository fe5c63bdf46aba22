#include "indexandmarkviewlistmodel.h"

namespace {
// Width of the "yyyy-MM-dd" date that starts a bookmark row.
constexpr int DateWidth = 10;
} // namespace

indexAndMarkViewListModel::indexAndMarkViewListModel(QObject *parent) : QAbstractListModel(parent)
{
    m_roles.insert(MenuTextRole, "menutext");
    // Nothing is connected yet; the screen starts on the chapter list.
    emit switchToIndexOrBook(0);
}

int indexAndMarkViewListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(m_itemList.size());
}

QVariant indexAndMarkViewListModel::data(const QModelIndex &index, int role) const
{
    if (role != MenuTextRole || index.row() < 0 || index.row() >= m_itemList.size())
        return QVariant();
    return m_itemList.at(index.row());
}

Qt::ItemFlags indexAndMarkViewListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

bool indexAndMarkViewListModel::setData(const QModelIndex &, const QVariant &, int)
{
    return true;
}

QHash<int, QByteArray> indexAndMarkViewListModel::roleNames() const
{
    return m_roles;
}

bool indexAndMarkViewListModel::insertItem(QString something)
{
    const int row = int(m_itemList.size());
    beginInsertRows(QModelIndex(), row, row);
    m_itemList.append(something);
    endInsertRows();
    setlistcount(int(m_itemList.size()));
    return true;
}

bool indexAndMarkViewListModel::deleteItem(int aindex)
{
    if (aindex < 0 || aindex >= m_itemList.size())
        return false;
    beginRemoveRows(QModelIndex(), aindex, aindex);
    m_itemList.removeAt(aindex);
    endRemoveRows();
    setlistcount(int(m_itemList.size()));
    return true;
}

void indexAndMarkViewListModel::updateList(int index)
{
    emit switchToIndexOrBook(index);
}

void indexAndMarkViewListModel::clearAll()
{
    if (m_itemList.isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, int(m_itemList.size()) - 1);
    m_itemList.clear();
    endRemoveRows();
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
