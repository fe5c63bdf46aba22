#ifndef NETSHOPTITLEMODEL_H
#define NETSHOPTITLEMODEL_H

#include <QAbstractListModel>
#include <QStringList>

// The category bar of the store front: one row per category name, with the
// category ids kept index for index beside the names.
class NetShopTitleModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles
    {
        NameRole = 33
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

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    QStringList m_itemList;
    QStringList m_idList;
    QHash<int, QByteArray> m_roles;
};

#endif // NETSHOPTITLEMODEL_H
