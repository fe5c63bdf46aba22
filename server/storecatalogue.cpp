#include "storecatalogue.h"

#include "storebookloader.h"

#include <QDir>
#include <QSet>
#include <algorithm>

namespace {
constexpr int SuggestedKeywordCount = 10;
constexpr int SuggestedAuthorCount = 5;
} // namespace

int StoreCatalogue::load(const QString &folder, QStringList *problems)
{
    m_books.clear();
    m_bookIndex.clear();
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*.vbp"), QStringLiteral("*.VBP")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        StoreBook book;
        QString problem;
        if (!StoreBookLoader::load(dir.filePath(name), book, &problem)) {
            problems->append(name + QStringLiteral(": ") + problem);
            continue;
        }
        if (!usableId(book.id) || m_bookIndex.contains(book.id)) {
            problems->append(name + QStringLiteral(": unusable or repeated book id"));
            continue;
        }
        m_bookIndex.insert(book.id, int(m_books.size()));
        m_books.append(book);
    }
    applyCharges();
    buildLists();
    return int(m_books.size());
}

bool StoreCatalogue::usableId(const QString &id)
{
    // Clients insert ids into query strings unescaped: these would split them.
    if (id.isEmpty() || id.size() > 64)
        return false;
    for (const QChar c : id) {
        if (c.category() == QChar::Other_Control || QStringLiteral("&=#%+?").contains(c))
            return false;
    }
    return true;
}

void StoreCatalogue::applyCharges()
{
    for (int i = 0; i < m_books.size(); ++i) {
        StoreBook &book = m_books[i];
        if (!m_charges.isEmpty())
            book.charge = m_charges.value(book.id, StoreBook::Free);
        else if (i % 4 == 2)
            book.charge = StoreBook::Sms;
        else if (i % 4 == 3)
            book.charge = StoreBook::Account;
        else
            book.charge = StoreBook::Free;
        book.priceCents = priceCents(book.charge);
    }
}

int StoreCatalogue::priceCents(StoreBook::Charge charge)
{
    switch (charge) {
    case StoreBook::Sms:
        return 200;
    case StoreBook::Account:
        return 100;
    case StoreBook::Free:
        break;
    }
    return 0;
}

void StoreCatalogue::buildLists()
{
    m_lists.clear();
    QList<int> all;
    QList<int> free;
    QList<int> paid;
    for (int i = 0; i < m_books.size(); ++i) {
        all.append(i);
        (m_books.at(i).isFree() ? free : paid).append(i);
    }
    QList<int> newest = all;
    std::stable_sort(newest.begin(), newest.end(), [this](int a, int b) {
        return m_books.at(a).modified > m_books.at(b).modified;
    });
    addList(QStringLiteral("hot"), QStringLiteral("热门图书"), all);
    addList(QStringLiteral("new"), QStringLiteral("新书上架"), newest);
    addList(QStringLiteral("free"), QStringLiteral("免费图书"), free);
    addList(QStringLiteral("vip"), QStringLiteral("精品图书"), paid);

    m_categories = {
        {QStringLiteral("novel"),
         QStringLiteral("精选"),
         true,
         QStringLiteral("hot"),
         {QStringLiteral("hot"), QStringLiteral("new")}},
        {QStringLiteral("free"),
         QStringLiteral("免费"),
         false,
         QStringLiteral("free"),
         {QStringLiteral("free")}},
        {QStringLiteral("vip"),
         QStringLiteral("精品"),
         false,
         QStringLiteral("vip"),
         {QStringLiteral("vip")}},
    };
}

void StoreCatalogue::addList(const QString &id, const QString &name, const QList<int> &books)
{
    m_lists.append(BookList{id, name, books});
}

const StoreBook *StoreCatalogue::book(const QString &id) const
{
    const auto it = m_bookIndex.constFind(id);
    return it == m_bookIndex.constEnd() ? nullptr : &m_books.at(*it);
}

const StoreCatalogue::Category *StoreCatalogue::category(const QString &id) const
{
    for (const Category &category : m_categories) {
        if (category.id == id)
            return &category;
    }
    return nullptr;
}

const StoreCatalogue::BookList *StoreCatalogue::list(const QString &id) const
{
    for (const BookList &list : m_lists) {
        if (list.id == id)
            return &list;
    }
    const Category *named = category(id);
    return named ? list(named->recommendList) : nullptr;
}

QList<int> StoreCatalogue::search(const QString &keyword, const BookList &scope) const
{
    QList<int> found;
    for (int index : scope.books) {
        const StoreBook &book = m_books.at(index);
        if (book.title.contains(keyword, Qt::CaseInsensitive) ||
            book.author.contains(keyword, Qt::CaseInsensitive))
            found.append(index);
    }
    return found;
}

QStringList StoreCatalogue::suggestedKeywords() const
{
    QStringList keywords;
    QSet<QString> seen;
    auto offer = [&](const QString &keyword) {
        if (keyword.isEmpty() || seen.contains(keyword.toCaseFolded()))
            return;
        seen.insert(keyword.toCaseFolded());
        keywords.append(keyword);
    };
    for (const StoreBook &book : m_books) {
        if (keywords.size() >= SuggestedAuthorCount)
            break;
        offer(book.author);
    }
    for (const StoreBook &book : m_books) {
        if (keywords.size() >= SuggestedKeywordCount)
            break;
        offer(book.title);
    }
    return keywords;
}
