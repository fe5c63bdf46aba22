// The store view models on their own: shortening, counts, paging signals and
// the search pages' counters and button states.

#include "accountmodel.h"
#include "bookinfo.h"
#include "bookinformationmodel.h"
#include "booklistmodel.h"
#include "morecommandviewabstractmodel.h"
#include "netshoptitlemodel.h"
#include "onlinesearchingkeypagemodel.h"
#include "onlinesearchingresultpagemodel.h"
#include "searchbookmgr.h"

#include <QSignalSpy>
#include <QTest>

namespace {

BookInfo bookRow(const QString &name, const QString &content = QString(),
                 BookInfo::EListElement type = BookInfo::EBookList, bool hasTitle = false)
{
    BookInfo info;
    info.m_bookName = name;
    info.m_content = content;
    info.m_type = type;
    info.m_hasTitle = hasTitle;
    info.m_bookId = QStringLiteral("id-") + name;
    info.m_titleId = QStringLiteral("t");
    return info;
}

// Delivers one answered result page to the search manager as the network
// manager does: each book, the total, then the response.
void deliverPage(SearchBookMgr &mgr, int firstIndex, int count, int total, int code = 200)
{
    for (int i = firstIndex; i < firstIndex + count; ++i) {
        SearchBookResult result;
        result.bookid = QString::number(i);
        result.bookname = QStringLiteral("b%1").arg(i);
        QString tips = QStringLiteral("tips");
        mgr.addSearchedBook(result, tips);
        mgr.setTotalBookCount(total);
    }
    QMetaObject::invokeMethod(&mgr, "updateSearchedBook", Q_ARG(int, code));
}

} // namespace

class TestStoreViews : public QObject
{
    Q_OBJECT

private slots:

    void bookListShortening_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("storedName");
        QTest::addColumn<QString>("storedContent");
        QTest::addColumn<QString>("recName");
        auto row = [](const char *tag, const QString &name, const QString &content,
                      const QString &storedName, const QString &storedContent,
                      const QString &recName) {
            QTest::newRow(tag) << name << content << storedName << storedContent << recName;
        };
        const QString n15 = QStringLiteral("一二三四五六七八九十一二三四五");
        const QString c12(12, 'c');
        row("short", "abc", "desc", "abc", "desc", "abc");
        row("name of 14", n15.left(14), "", n15.left(14), "", n15.left(14));
        row("name of 15 kept, cut for the strip", n15, "", n15, "", n15.left(14) + "..");
        row("name of 16", n15 + "x", "", n15.left(12) + "...", "", n15.left(12) + "....");
        row("content of 12", "a", c12, "a", c12, "a");
        row("content of 13", "a", c12 + "c", "a", c12.left(10) + "...", "a");
    }

    void bookListShortening()
    {
        QFETCH(QString, name);
        QFETCH(QString, content);
        QFETCH(QString, storedName);
        QFETCH(QString, storedContent);
        QFETCH(QString, recName);
        BookListModel model;
        const BookInfo row = bookRow(name, content);
        QVERIFY(model.insertItem(&row));
        QCOMPARE(model.get(0), storedName);
        QCOMPARE(model.data(model.index(0), BookListModel::ContentRole).toString(), storedContent);
        QCOMPARE(model.getRecName(0), recName);

        // Copying shortens again; shortened texts stay as they are.
        BookListModel copy;
        copy.copyFromBookListModel(&model);
        QCOMPARE(copy.get(0), storedName);
        QCOMPARE(copy.getBookID(0), row.m_bookId);
    }

    void bookListHeight_data()
    {
        QTest::addColumn<QList<int>>("types");
        QTest::addColumn<QList<bool>>("titles");
        QTest::addColumn<int>("height");
        QTest::newRow("empty") << QList<int>() << QList<bool>() << 0;
        QTest::newRow("picture group then text")
            << QList<int>{1, 2} << QList<bool>{true, false} << 220;
        QTest::newRow("text rows") << QList<int>{2, 2, 2} << QList<bool>{true, false, true} << 240;
    }

    void bookListHeight()
    {
        QFETCH(QList<int>, types);
        QFETCH(QList<bool>, titles);
        QFETCH(int, height);
        BookListModel model;
        for (int i = 0; i < types.size(); ++i) {
            const BookInfo row =
                bookRow(QString::number(i), QString(), BookInfo::EListElement(types[i]), titles[i]);
            model.insertItem(&row);
        }
        QCOMPARE(model.getHeight(), height);
        QCOMPARE(model.getCount(), types.size());
    }

    void titleRealIndex()
    {
        NetShopTitleModel model;
        QCOMPARE(model.getRealIndex(5), 0);
        for (const char *name : {"a", "b", "c"}) {
            model.insertItem(name);
            model.insertIdItem(name);
        }
        // Wraps round the list; a negative index keeps its sign.
        QCOMPARE(model.getRealIndex(7), 1);
        QCOMPARE(model.getRealIndex(-1), -1);
        QCOMPARE(model.getRealIndex(2), 2);
    }

    void recommendPageIcon()
    {
        // Any icon but 0 asks for the one next page; going back asks for
        // nothing because the earlier pages are still in the list.
        for (int icon : {0, 1, 5}) {
            MoreCommandViewAbstractModel model;
            model.setCurrentPageNum(3);
            QSignalSpy next(&model, &MoreCommandViewAbstractModel::gotoNextPage);
            QSignalSpy previous(&model, &MoreCommandViewAbstractModel::gotoPrePage);
            QVERIFY(model.clickPageIcon(icon));
            QCOMPARE(next, icon ? QList<QVariantList>{{1}} : QList<QVariantList>{});
            QCOMPARE(previous.count(), 0);
        }
    }

    void bookInformation()
    {
        BookInformationModel model;
        model.setBookInfo(QStringLiteral("line one\r\nline two\r"));
        QCOMPARE(model.getBookInfo(), QStringLiteral("line one\nline two"));
        // One column per detail the store gave.
        model.setAuther("a");
        model.setPublisher("p");
        QCOMPARE(model.getColumnCount(), 2);
        model.setPrice("1");
        model.setStatus("s");
        QCOMPARE(model.getColumnCount(), 4);
    }

    void searchTitleShortening()
    {
        const QString t16 = QStringLiteral("静夜思床前明月光疑是地上霜举头望");
        SearchBookMgr mgr(nullptr);
        QString tips;
        for (const QString &title : {t16.left(15), t16}) {
            SearchBookResult result;
            result.bookname = title;
            mgr.addSearchedBook(result, tips);
        }
        QMetaObject::invokeMethod(&mgr, "updateSearchedBook", Q_ARG(int, 200));
        OnlineSearchingResultPageModel *model = mgr.resultModel();
        const int name = OnlineSearchingResultPageModel::BookNameRole;
        QCOMPARE(model->data(model->index(0), name).toString(), t16.left(15));
        QCOMPARE(model->data(model->index(1), name).toString(), t16.left(13) + "...");
    }

    void searchPagingFlags_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("pages");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("one full page") << 12 << 1;
        QTest::newRow("one more") << 13 << 2;
        QTest::newRow("25 results") << 25 << 3;
    }

    void searchPagingFlags()
    {
        QFETCH(int, total);
        QFETCH(int, pages);
        SearchBookMgr mgr(nullptr);
        OnlineSearchingResultPageModel *model = mgr.resultModel();
        QSignalSpy next(&mgr, &SearchBookMgr::gotoNextPage);
        mgr.getSearchResultList();
        deliverPage(mgr, 0, qMin(total, 12), total);
        if (total > 0)
            QCOMPARE(mgr.totalPageNum(), pages);

        int received = qMin(total, 12);
        for (int page = 2; page <= pages; ++page) {
            QVERIFY(model->getPageUpGrayFlag());
            QVERIFY(!model->getPageDownGrayFlag());
            QVERIFY(mgr.pageDown());
            QCOMPARE(next.last().at(1).toInt(), page);
            const int count = qMin(total - received, 12);
            deliverPage(mgr, received, count, total);
            received += count;
            QCOMPARE(mgr.currentPageNum(), page);
        }
        QVERIFY(model->getPageDownGrayFlag());
        QVERIFY(model->getPageUpGrayFlag());
        QVERIFY(!mgr.pageDown());
        QVERIFY(!mgr.pageUp());
        QVERIFY(!model->handlePageup());
        QCOMPARE(next.count(), qMax(pages - 1, 0));
        QCOMPARE(model->rowCount(), total);
    }

    void searchKeywords()
    {
        SearchBookMgr mgr(nullptr);
        OnlineSearchingKeyPageModel *keywords = mgr.keywordModel();
        mgr.addKeyword("李白");
        mgr.addKeyword("杜甫");
        mgr.addKeyword("李白");
        QSignalSpy response(&mgr, &SearchBookMgr::searchKeyWordResponse);
        QMetaObject::invokeMethod(&mgr, "updateKeywords", Q_ARG(int, 200));
        QCOMPARE(keywords->rowCount(), 3);
        QCOMPARE(response.at(0).at(0).toInt(), 200);

        // A failed fetch keeps the keywords shown.
        mgr.removeAllKeyword();
        QMetaObject::invokeMethod(&mgr, "updateKeywords", Q_ARG(int, -100));
        QCOMPARE(keywords->rowCount(), 3);
        QCOMPARE(response.at(1).at(0).toInt(), -100);

        keywords->handleKeyWordClick(1);
        QCOMPARE(mgr.getKeywords(), QStringLiteral("杜甫"));
        keywords->handleKeyWordClick(3);
        QCOMPARE(mgr.getKeywords(), QStringLiteral("杜甫"));
        keywords->handleSelectInputText("typed");
        QCOMPARE(mgr.resultModel()->getInputText(), QStringLiteral("typed"));
    }

    void invalidRowsAndRoles()
    {
        SearchBookMgr mgr(nullptr);
        mgr.keywordModel()->insertItem("k");
        BookListModel books;
        AccountModel account;
        MoreCommandViewAbstractModel more;
        NetShopTitleModel titles;
        QAbstractItemModel *models[] = {
            mgr.keywordModel(), mgr.resultModel(), &books, &account, &more, &titles};
        for (QAbstractItemModel *model : models) {
            QVERIFY(!model->data(model->index(model->rowCount(), 0), 33).isValid());
            QCOMPARE(model->flags(QModelIndex()), Qt::ItemIsEnabled);
        }
        QVERIFY(!mgr.keywordModel()->data(mgr.keywordModel()->index(0), 40).isValid());
        QVERIFY(mgr.keywordModel()->flags(mgr.keywordModel()->index(0)) & Qt::ItemIsEditable);
        QCOMPARE(mgr.resultModel()->getBookID(0), QString());
        QCOMPARE(books.get(0), QStringLiteral(""));
        QCOMPARE(books.getBookInfo(0), nullptr);
        // The screens bind to these role names.
        QCOMPARE(books.roleNames().value(33), QByteArray("name"));
        QCOMPARE(books.roleNames().value(39), QByteArray("titlename"));

        // Clearing an empty list tells the views nothing.
        QSignalSpy removed(&books, &QAbstractItemModel::rowsRemoved);
        QVERIFY(!books.removeAllItem());
        const BookInfo row = bookRow("x");
        books.insertItem(&row);
        QVERIFY(!books.deleteItem(1));
        QVERIFY(books.removeAllItem());
        QCOMPARE(removed.count(), 1);
    }
};

QTEST_MAIN(TestStoreViews)
#include "tst_storeviews.moc"
