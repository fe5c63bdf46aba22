#ifndef ACCOUNTMODEL_H
#define ACCOUNTMODEL_H

#include "accountitem.h"
#include "storedlistmodel.h"

#include <memory>
#include <vector>

// The account page: one row per account line.
class AccountModel : public StoredListModel
{
    Q_OBJECT
public:
    enum Roles
    {
        ItemTextRole = FirstRole,
        OutPutTextRole
    };

    explicit AccountModel(QObject *parent = nullptr);
    ~AccountModel() override;

    bool insertItem(const AccountItem *item);
    bool removeAllItem();
    bool deleteItem(int index);

protected:
    int storedCount() const override;
    QVariant storedData(int row, int role) const override;

private:
    std::vector<std::unique_ptr<AccountItem>> m_itemList;
};

#endif // ACCOUNTMODEL_H
