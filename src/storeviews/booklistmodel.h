#ifndef BOOKLISTMODEL_H
#define BOOKLISTMODEL_H

#include "bookinfo.h"
#include "storedlistmodel.h"

#include <memory>
#include <vector>

// A store front book list: the recommendation strip or the list of books
// grouped by sub-category. Rows are shortened copies of what is inserted.
class BookListModel : public StoredListModel
{
    Q_OBJECT
public:
    enum Roles
    {
        NameRole = FirstRole,
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

protected:
    int storedCount() const override;
    QVariant storedData(int row, int role) const override;

private:
    std::vector<std::unique_ptr<BookInfo>> m_itemList;
};

#endif // BOOKLISTMODEL_H
