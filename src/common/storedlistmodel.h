#ifndef STOREDLISTMODEL_H
#define STOREDLISTMODEL_H

#include <QAbstractListModel>
#include <QHash>

// What every list of the screens shares: a flat list whose rows are kept by
// the subclass, read-only role data by fixed role numbers, and rows that the
// delegates may mark as editable although edits are never stored.
class StoredListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    // The screens know the roles by number, counting from this one.
    static constexpr int FirstRole = 33;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Accepts and drops every edit: the rows change only through the owner.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QHash<int, QByteArray> roleNames() const override;

protected:
    StoredListModel(QHash<int, QByteArray> roles, QObject *parent);

    virtual int storedCount() const = 0;
    // Only called for a row below storedCount().
    virtual QVariant storedData(int row, int role) const = 0;

    bool isValidRow(int row) const { return row >= 0 && row < storedCount(); }

    // Runs insert between the notices for a new row at row; false, with
    // nothing run, when row is not in 0..storedCount().
    template <typename Insert> bool insertStoredRow(int row, Insert insert)
    {
        if (row < 0 || row > storedCount())
            return false;
        beginInsertRows(QModelIndex(), row, row);
        insert();
        endInsertRows();
        return true;
    }

    // Runs erase between the notices for removing row; false, with nothing
    // run, for a row that is not there.
    template <typename Erase> bool removeStoredRow(int row, Erase erase)
    {
        if (!isValidRow(row))
            return false;
        beginRemoveRows(QModelIndex(), row, row);
        erase();
        endRemoveRows();
        return true;
    }

    // Runs clear between the notices for removing every row; false, with
    // nothing run, when the list is already empty.
    template <typename Clear> bool removeAllStoredRows(Clear clear)
    {
        const int count = storedCount();
        if (count == 0)
            return false;
        beginRemoveRows(QModelIndex(), 0, count - 1);
        clear();
        endRemoveRows();
        return true;
    }

private:
    QHash<int, QByteArray> m_roles;
};

#endif // STOREDLISTMODEL_H
