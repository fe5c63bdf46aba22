#ifndef MYBOOKSHELFABSTRACTMODEL_H
#define MYBOOKSHELFABSTRACTMODEL_H

#include "vorelebookitemdata.h"

#include <QAbstractListModel>
#include <QList>

struct MyBookInfoItem;

// The shelf grid's list: its own copy of the entries last handed over, since
// the shelf manager rebuilds its list on every reload.
class MyBookShelfAbstractModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // The screens know the roles by these numbers.
    enum Roles
    {
        IconPathRole = 33,
        BookNameRole,
        AuthorNameRole,
        NewIconFlagRole,
        BookPathRole,
        BookSizeRole,
        BookIdRole
    };

    explicit MyBookShelfAbstractModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

    // Replaces every entry by a copy of the list (none for a null list).
    void updateItemList(QList<VorelEBookItemData> *itemList);
    static QString convertSizeToString(uint kbsize);
    // A long title is cut to 10 characters and "...".
    static QString shortBookName(const QString &name);

    bool insertItem(int pos, MyBookInfoItem *item);
    bool deleteItem(int index);
    void removeAllItem();

private:
    QList<VorelEBookItemData> m_itemList;
};

#endif // MYBOOKSHELFABSTRACTMODEL_H
