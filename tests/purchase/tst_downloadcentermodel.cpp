#include "downloadcentermodel.h"

#include <QSignalSpy>
#include <QTest>

namespace {

DownloadBookDetail detail(const QString &cid, quint32 state = 0)
{
    return DownloadBookDetail("http://127.0.0.1/cover/" + cid, "测试书 " + cid, cid,
                              "http://127.0.0.1/get?cid=" + cid, 0, 1, state);
}

QStringList cids(const DownloadCenterModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result << model.data(model.index(row), DownloadCenterModel::CidRole).toString();
    return result;
}

} // namespace

class TestDownloadCenterModel : public QObject
{
    Q_OBJECT

private slots:
    void rows_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("after");

        const QStringList ab{"a.vbp", "b.vbp"};
        QTest::newRow("append to empty") << QStringList() << "append"
                                         << "a.vbp" << true << QStringList{"a.vbp"};
        QTest::newRow("append at end") << ab << "append"
                                       << "c.vbp" << true << QStringList{"a.vbp", "b.vbp", "c.vbp"};
        QTest::newRow("delete -1") << ab << "delete"
                                   << "-1" << false << ab;
        QTest::newRow("delete rowCount") << ab << "delete"
                                         << "2" << false << ab;
        QTest::newRow("delete first") << ab << "delete"
                                      << "0" << true << QStringList{"b.vbp"};
        QTest::newRow("delete first of a cid")
            << QStringList{"a.vbp", "b.vbp", "a.vbp"} << "deleteCID"
            << "a.vbp" << true << QStringList{"b.vbp", "a.vbp"};
        QTest::newRow("delete absent cid") << ab << "deleteCID"
                                           << "z.vbp" << false << ab;
        QTest::newRow("clear three") << QStringList{"a.vbp", "b.vbp", "c.vbp"} << "clear"
                                     << "" << true << QStringList();
        QTest::newRow("clear empty") << QStringList() << "clear"
                                     << "" << false << QStringList();
    }

    void rows()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, operation);
        QFETCH(QString, argument);
        QFETCH(bool, result);
        QFETCH(QStringList, after);

        DownloadCenterModel model;
        for (const QString &cid : before)
            QVERIFY(model.appandItem(detail(cid)));
        QSignalSpy totalChanged(&model, &DownloadCenterModel::DownloadTotalNumChanged);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

        bool done = true;
        if (operation == "append")
            done = model.appandItem(detail(argument));
        else if (operation == "delete")
            done = model.deleteItem(argument.toInt());
        else if (operation == "deleteCID")
            done = model.deleteItembyCID(argument);
        else
            model.clearAll();

        if (operation != "clear")
            QCOMPARE(done, result);
        QCOMPARE(cids(model), after);
        // Changed exactly when the rows did, and always their number.
        QCOMPARE(totalChanged.count(), result ? 1 : 0);
        QCOMPARE(inserted.count() + removed.count(), result ? 1 : 0);
        QCOMPARE(model.property("downloadTotalNum").toInt(), after.size());
        QCOMPARE(model.rowOfCID(argument), after.indexOf(argument));
        QCOMPARE(model.checkCIDExist(argument), after.contains(argument));
    }

    void edits_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("roleName");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QVariant>("stored");

        QTest::newRow("current over 2 GiB")
            << "setCurrentData" << 0 << QByteArray("downloadedsize")
            << QVariant(int(quint32(3000000000u))) << true << QVariant(3000000000u);
        QTest::newRow("total") << "setTotalData" << 0 << QByteArray("booktotalsize")
                               << QVariant(8192) << true << QVariant(8192u);
        QTest::newRow("state") << "setStateData" << 1 << QByteArray("downloadState") << QVariant(2)
                               << true << QVariant(2u);
        QTest::newRow("row past the end") << "setCurrentData" << 2 << QByteArray("downloadedsize")
                                          << QVariant(1) << false << QVariant();
        QTest::newRow("row -1") << "setStateData" << -1 << QByteArray("downloadState")
                                << QVariant(1) << false << QVariant();
        QTest::newRow("name") << "setData" << 0 << QByteArray("bookname") << QVariant("它's \"新\"")
                              << true << QVariant("它's \"新\"");
        QTest::newRow("size not a number") << "setData" << 0 << QByteArray("downloadedsize")
                                           << QVariant("many") << false << QVariant(0u);
        QTest::newRow("unknown role")
            << "setData" << 0 << QByteArray() << QVariant(1) << false << QVariant();
    }

    void edits()
    {
        QFETCH(QString, how);
        QFETCH(int, row);
        QFETCH(QByteArray, roleName);
        QFETCH(QVariant, value);
        QFETCH(bool, ok);
        QFETCH(QVariant, stored);

        DownloadCenterModel model;
        model.appandItem(detail("a.vbp"));
        model.appandItem(detail("b.vbp"));
        const int role = roleName.isEmpty() ? DownloadCenterModel::DownloadStateRole + 1
                                            : model.roleNames().key(roleName, -1);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        bool done = false;
        if (how == "setCurrentData")
            done = model.setCurrentData(row, value.toInt());
        else if (how == "setTotalData")
            done = model.setTotalData(row, value.toInt());
        else if (how == "setStateData")
            done = model.setStateData(row, value.toInt());
        else
            done = model.setData(model.index(row), value, role);

        QCOMPARE(done, ok);
        QCOMPARE(changed.count(), ok ? 1 : 0);
        QCOMPARE(model.data(model.index(row), role), stored);
        if (roleName == "downloadState") // 0 for a row that is not there
            QCOMPARE(model.getStateByIndex(row), stored.toInt());
    }

    void downloadingNumAlwaysAnnounced()
    {
        DownloadCenterModel model;
        QSignalSpy changed(&model, &DownloadCenterModel::DownloadingBookNumChanged);
        model.setDownloadingBookNum(1);
        QVERIFY(model.setProperty("downloadingNum", 1));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(model.property("downloadingNum").toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDownloadCenterModel)
#include "tst_downloadcentermodel.moc"
