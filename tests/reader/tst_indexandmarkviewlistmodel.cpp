// The chapter/bookmark list of the reading screen.

#include "indexandmarkviewlistmodel.h"

#include <QSignalSpy>
#include <QtTest>

class TestIndexAndMarkViewListModel : public QObject
{
    Q_OBJECT

private slots:
    void splitRow_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QStringList>("parts"); // date, then the rest

        const QString cjk = "2013-01-02   " + QString(4, QChar(0x4E00));
        QTest::newRow("bookmark row")
            << "2012-03-05   Chapter" << QStringList{"2012-03-05", "   Chapter"};
        QTest::newRow("9 characters") << "123456789" << QStringList{"", ""};
        QTest::newRow("exactly 10") << "2012-03-05" << QStringList{"2012-03-05", ""};
        QTest::newRow("cjk description") << cjk << QStringList{"2013-01-02", cjk.mid(10)};
    }

    void splitRow()
    {
        QFETCH(QString, row);
        QFETCH(QStringList, parts);
        indexAndMarkViewListModel model;
        QCOMPARE(QStringList({model.retDate(row), model.retCon(row)}), parts);
    }

    void rows()
    {
        indexAndMarkViewListModel model;
        QSignalSpy counts(&model, &indexAndMarkViewListModel::listcountChanged);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        model.clearAll(); // nothing to clear: no signals
        QCOMPARE(counts.count() + removed.count(), 0);
        for (const char *text : {"One", "Two", "Three"})
            QVERIFY(model.insertItem(QString::fromLatin1(text)));
        QCOMPARE(counts.count(), 3);
        QCOMPARE(model.property("listcount").toInt(), 3);
        QCOMPARE(model.roleNames().value(indexAndMarkViewListModel::MenuTextRole), "menutext");

        QVERIFY(!model.deleteItem(3));
        QVERIFY(!model.deleteItem(-1));
        QVERIFY(model.deleteItem(1));
        QCOMPARE(model.getlistcount(), 2);
        QCOMPARE(model.data(model.index(1), indexAndMarkViewListModel::MenuTextRole).toString(),
                 QStringLiteral("Three"));
        QVERIFY(!model.data(model.index(2), indexAndMarkViewListModel::MenuTextRole).isValid());
        model.clearAll();
        QCOMPARE(counts.count(), 5);
        QCOMPARE(removed.last().at(2).toInt(), 1); // both rows in one removal
        QCOMPARE(model.rowCount(), 0);
    }
};

QTEST_MAIN(TestIndexAndMarkViewListModel)
#include "tst_indexandmarkviewlistmodel.moc"
