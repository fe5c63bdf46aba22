#ifndef INDEXANDMARKVIEWLISTMODEL_H
#define INDEXANDMARKVIEWLISTMODEL_H

#include "storedlistmodel.h"

#include <QStringList>

// The one list of the reading screen: either the chapter names of the open
// book or its bookmark rows. The reading engine decides what it holds; the
// model only keeps display strings.
class indexAndMarkViewListModel : public StoredListModel
{
    Q_OBJECT
    Q_PROPERTY(int listcount READ getlistcount WRITE setlistcount NOTIFY listcountChanged)

public:
    enum Roles
    {
        MenuTextRole = FirstRole
    };

    explicit indexAndMarkViewListModel(QObject *parent = nullptr);

    Q_INVOKABLE int rowCount(const QModelIndex &parent) const override;
    Q_INVOKABLE int rowCount() const { return rowCount(QModelIndex()); }

    Q_INVOKABLE bool insertItem(QString something);
    Q_INVOKABLE bool deleteItem(int aindex);
    Q_INVOKABLE void updateList(int index);
    Q_INVOKABLE void clearAll();
    Q_INVOKABLE QString getBookName() const { return m_Bookname; }
    Q_INVOKABLE int getCurrentIndex() const { return int(m_currentIndex); }
    // A bookmark row is "yyyy-MM-dd" followed by three blanks and the text.
    Q_INVOKABLE QString retDate(QString aStr) const;
    Q_INVOKABLE QString retCon(QString aStr) const;

    void setBookName(QString name) { m_Bookname = name; }
    void setCurrentIndex(unsigned int index) { m_currentIndex = index; }
    int getlistcount() const { return int(m_listcount); }
    void setlistcount(int count);

signals:
    void switchToIndexOrBook(int index);
    void listcountChanged();

protected:
    int storedCount() const override;
    QVariant storedData(int row, int role) const override;

private:
    QStringList m_itemList;
    QString m_Bookname;
    unsigned int m_currentIndex = 0;
    unsigned int m_listcount = 0;
};

#endif // INDEXANDMARKVIEWLISTMODEL_H
