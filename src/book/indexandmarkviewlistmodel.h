#ifndef INDEXANDMARKVIEWLISTMODEL_H
#define INDEXANDMARKVIEWLISTMODEL_H

#include <QAbstractListModel>
#include <QStringList>

// The one list of the reading screen: either the chapter names of the open
// book or its bookmark rows. The reading engine decides what it holds; the
// model only keeps display strings.
class indexAndMarkViewListModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int listcount READ getlistcount WRITE setlistcount NOTIFY listcountChanged)

public:
    // The screens know the one role by its number, 33.
    enum Roles
    {
        MenuTextRole = 33
    };

    explicit indexAndMarkViewListModel(QObject *parent = nullptr);

    Q_INVOKABLE int rowCount(const QModelIndex &parent) const override;
    Q_INVOKABLE int rowCount() const { return rowCount(QModelIndex()); }
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

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

private:
    QStringList m_itemList;
    QString m_Bookname;
    unsigned int m_currentIndex = 0;
    unsigned int m_listcount = 0;
    QHash<int, QByteArray> m_roles;
};

#endif // INDEXANDMARKVIEWLISTMODEL_H
