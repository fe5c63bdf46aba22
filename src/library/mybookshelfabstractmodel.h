#ifndef MYBOOKSHELFABSTRACTMODEL_H
#define MYBOOKSHELFABSTRACTMODEL_H

#include "storedlistmodel.h"
#include "vorelebookitemdata.h"

#include <QHash>
#include <QList>

struct MyBookInfoItem;

// The shelf grid's list: its own copy of the entries last handed over, since
// the shelf manager rebuilds its list on every reload.
class MyBookShelfAbstractModel : public StoredListModel
{
    Q_OBJECT

public:
    enum Roles
    {
        IconPathRole = FirstRole,
        BookNameRole,
        AuthorNameRole,
        NewIconFlagRole,
        BookPathRole,
        BookSizeRole,
        BookIdRole,
        // Ours: percent read of a started book, -1 for a book never stored
        // as read.
        ReadProgressRole
    };

    explicit MyBookShelfAbstractModel(QObject *parent = nullptr);

    // Replaces every entry by a copy of the list (none for a null list).
    void updateItemList(QList<VorelEBookItemData> *itemList);
    static QString convertSizeToString(uint kbsize);
    // A long title is cut to 10 characters and "...".
    static QString shortBookName(const QString &name);

    bool insertItem(int pos, MyBookInfoItem *item);
    bool deleteItem(int index);
    void removeAllItem();

protected:
    int storedCount() const override;
    QVariant storedData(int row, int role) const override;

private:
    QList<VorelEBookItemData> m_itemList;
    QHash<QString, int> m_readPercent;
};

#endif // MYBOOKSHELFABSTRACTMODEL_H
