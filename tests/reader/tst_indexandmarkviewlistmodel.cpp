// The chapter/bookmark list of the reading screen.

#include "indexandmarkviewlistmodel.h"

#include <QSignalSpy>
#include <QtTest>

class TestIndexAndMarkViewListModel : public QObject
{
    Q_OBJECT

private slots:
    void splitRow_data();
    void splitRow();
    void insertAndDelete();
    void clearAll();
    void dataAndRoles();
};

void TestIndexAndMarkViewListModel::splitRow_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("content");

    QTest::newRow("bookmark row") << "2012-03-05   Chapter one begins"
                                  << "2012-03-05"
                                  << "   Chapter one begins";
    QTest::newRow("5 characters") << "12345"
                                  << ""
                                  << "";
    QTest::newRow("9 characters") << "123456789"
                                  << ""
                                  << "";
    QTest::newRow("exactly 10") << "2012-03-05"
                                << "2012-03-05"
                                << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("cjk description") << QString("2013-01-02   ") + QString(4, QChar(0x4E00))
                                     << "2013-01-02" << QString("   ") + QString(4, QChar(0x4E00));
}

void TestIndexAndMarkViewListModel::splitRow()
{
    QFETCH(QString, row);
    QFETCH(QString, date);
    QFETCH(QString, content);
    indexAndMarkViewListModel model;
    QCOMPARE(model.retDate(row), date);
    QCOMPARE(model.retCon(row), content);
}

void TestIndexAndMarkViewListModel::insertAndDelete()
{
    indexAndMarkViewListModel model;
    QSignalSpy counts(&model, &indexAndMarkViewListModel::listcountChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    for (const char *text : {"One", "Two", "Three"})
        QVERIFY(model.insertItem(QString::fromLatin1(text)));
    QCOMPARE(counts.count(), 3);
    QCOMPARE(inserted.count(), 3);
    QCOMPARE(model.getlistcount(), 3);
    QCOMPARE(model.property("listcount").toInt(), 3);

    QVERIFY(!model.deleteItem(3));
    QVERIFY(!model.deleteItem(-1));
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(counts.count(), 3);

    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QVERIFY(model.deleteItem(1));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.first().at(1).toInt(), 1);
    QCOMPARE(model.getlistcount(), 2);
    QCOMPARE(model.data(model.index(1), 33).toString(), QStringLiteral("Three"));
}

void TestIndexAndMarkViewListModel::clearAll()
{
    indexAndMarkViewListModel model;
    QSignalSpy counts(&model, &indexAndMarkViewListModel::listcountChanged);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    model.clearAll();
    QCOMPARE(counts.count(), 0);
    QCOMPARE(removed.count(), 0);
    QCOMPARE(model.getlistcount(), 0);

    model.insertItem("a");
    model.insertItem("b");
    counts.clear();
    model.clearAll();
    QCOMPARE(counts.count(), 1);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.first().at(2).toInt(), 1);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.getlistcount(), 0);
}

void TestIndexAndMarkViewListModel::dataAndRoles()
{
    indexAndMarkViewListModel model;
    QCOMPARE(model.roleNames(), (QHash<int, QByteArray>{{33, "menutext"}}));
    model.insertItem("row");
    QCOMPARE(model.data(model.index(0), 33).toString(), QStringLiteral("row"));
    QVERIFY(!model.data(model.index(0), Qt::DisplayRole).isValid());
    QVERIFY(!model.data(model.index(0), 34).isValid());
    QVERIFY(!model.data(model.index(1), 33).isValid());
    QVERIFY(model.flags(model.index(0)) & Qt::ItemIsEditable);
    QCOMPARE(model.flags(QModelIndex()), Qt::ItemIsEnabled);
    QVERIFY(model.setData(model.index(0), "other", 33));
    QCOMPARE(model.data(model.index(0), 33).toString(), QStringLiteral("row"));

    QSignalSpy switched(&model, &indexAndMarkViewListModel::switchToIndexOrBook);
    model.updateList(1);
    QCOMPARE(switched.count(), 1);
    QCOMPARE(switched.first().at(0).toInt(), 1);
}

QTEST_MAIN(TestIndexAndMarkViewListModel)
#include "tst_indexandmarkviewlistmodel.moc"
