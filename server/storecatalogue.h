#ifndef STORECATALOGUE_H
#define STORECATALOGUE_H

#include "storebook.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The store's offer, built once at start-up from a folder of book packages
// and read-only afterwards, so request threads share it without locks.
class StoreCatalogue
{
public:
    // A named, ordered list of books: what a sub-category shows a few of and
    // the paged recommendation list pages through.
    struct BookList
    {
        QString id;
        QString name;
        QList<int> books; // indexes into books()
    };

    // One entry of the category bar with the lists its page shows.
    struct Category
    {
        QString id;
        QString name;
        bool focus = false;
        QString recommendList;
        QStringList subcatLists;
    };

    // Charges given per book id on the command line; when there are none,
    // every fourth book from the third on is paid by SMS and every fourth
    // from the fourth on from the account, so the demo offers both.
    void setCharges(const QHash<QString, StoreBook::Charge> &charges) { m_charges = charges; }
    // Reads every ".vbp" package of the folder; unreadable ones are left out
    // and described in problems. Returns the number of books offered.
    int load(const QString &folder, QStringList *problems);

    const QList<StoreBook> &books() const { return m_books; }
    const StoreBook *book(const QString &id) const;
    const QList<Category> &categories() const { return m_categories; }
    const Category *category(const QString &id) const;
    // A book list by its id; a category id names its recommendation list.
    const BookList *list(const QString &id) const;
    // Books whose title or author holds the keyword, ignoring case, in the
    // order of the given list.
    QList<int> search(const QString &keyword, const BookList &scope) const;
    QStringList suggestedKeywords() const;

    static int priceCents(StoreBook::Charge charge);

private:
    void applyCharges();
    void buildLists();
    void addList(const QString &id, const QString &name, const QList<int> &books);
    static bool usableId(const QString &id);

    QHash<QString, StoreBook::Charge> m_charges;
    QList<StoreBook> m_books;
    QHash<QString, int> m_bookIndex;
    QList<BookList> m_lists;
    QList<Category> m_categories;
};

#endif // STORECATALOGUE_H
