#ifndef BOOKLISTMODEL_H
#define BOOKLISTMODEL_H

#include "bookinfo.h"

#include <QAbstractListModel>
#include <memory>
#include <vector>

// A store front book list: the recommendation strip or the list of books
// grouped by sub-category. Rows are shortened copies of what is inserted.
class BookListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles
    {
        NameRole = 33,
        PicPathRole,
        AuthorRole,
        ContentRole,
        TypeRole,
        HasTitleRole,
        TitleNameRole
    };

    // Pixel heights the screen sizes the grouped list with.
    static constexpr int RowHeight = 40;
    static constexpr int TitleHeight = 60;
    static constexpr int PictureExtraHeight = 80;

    explicit BookListModel(QObject *parent = nullptr);
    ~BookListModel() override;

    Q_INVOKABLE QString get(int index);
    Q_INVOKABLE QString getRecName(int index);
    Q_INVOKABLE int getCount();
    Q_INVOKABLE int getHeight();
    Q_INVOKABLE QString getTitleID(int index);
    Q_INVOKABLE QString getBookID(int index);

    bool insertItem(const BookInfo *info);
    bool deleteItem(int index);
    bool removeAllItem();
    // The stored row, still owned by the model; null for an invalid index.
    BookInfo *getBookInfo(int index);
    void copyFromBookListModel(BookListModel *other);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    bool isValidRow(int index) const;

    std::vector<std::unique_ptr<BookInfo>> m_itemList;
    QHash<int, QByteArray> m_roles;
};

#endif // BOOKLISTMODEL_H
