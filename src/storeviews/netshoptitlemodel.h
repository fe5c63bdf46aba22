#ifndef NETSHOPTITLEMODEL_H
#define NETSHOPTITLEMODEL_H

#include "storedlistmodel.h"

#include <QStringList>

// The category bar of the store front: one row per category name, with the
// category ids kept index for index beside the names.
class NetShopTitleModel : public StoredListModel
{
    Q_OBJECT
public:
    enum Roles
    {
        NameRole = FirstRole
    };

    explicit NetShopTitleModel(QObject *parent = nullptr);

    Q_INVOKABLE QString getIdString(int index);
    // Lets a wrapping title bar map any position to a row.
    Q_INVOKABLE int getRealIndex(int index);

    bool insertItem(const QString &name);
    bool prependItem(const QString &name);
    bool insertIdItem(const QString &id);
    bool prependIdItem(const QString &id);
    bool deleteItem(int index);
    bool deleteIdItem(int index);
    bool removeAllItem();

protected:
    int storedCount() const override;
    QVariant storedData(int row, int role) const override;

private:
    QStringList m_itemList;
    QStringList m_idList;
};

#endif // NETSHOPTITLEMODEL_H
