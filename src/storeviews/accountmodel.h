#ifndef ACCOUNTMODEL_H
#define ACCOUNTMODEL_H

#include "accountitem.h"

#include <QAbstractListModel>
#include <memory>
#include <vector>

// The account page: one row per account line.
class AccountModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles
    {
        ItemTextRole = 33,
        OutPutTextRole
    };

    explicit AccountModel(QObject *parent = nullptr);
    ~AccountModel() override;

    bool insertItem(const AccountItem *item);
    bool removeAllItem();
    bool deleteItem(int index);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    bool isValidRow(int index) const;

    std::vector<std::unique_ptr<AccountItem>> m_itemList;
    QHash<int, QByteArray> m_roles;
};

#endif // ACCOUNTMODEL_H
