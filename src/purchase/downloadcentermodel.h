#ifndef DOWNLOADCENTERMODEL_H
#define DOWNLOADCENTERMODEL_H

#include "downloadbookdetail.h"
#include "storedlistmodel.h"

#include <QList>

// The list behind the download centre screen: one row per download task, in
// task order, keyed by the task's package file name ("cid"). The download
// engine keeps it in step after every change of its task list; the screens
// read the rows and the two counters for badges and headings.
class DownloadCenterModel : public StoredListModel
{
    Q_OBJECT
    Q_PROPERTY(int downloadingNum READ getDownloadingBookNum WRITE setDownloadingBookNum NOTIFY
                   DownloadingBookNumChanged)
    Q_PROPERTY(int downloadTotalNum READ getDownloadTotalNum WRITE setDownloadTotalNum NOTIFY
                   DownloadTotalNumChanged)
public:
    enum Roles
    {
        ImagePathRole = FirstRole,
        BookNameRole,
        CidRole,
        LinkRole,
        DownloadedSizeRole,
        BookTotalSizeRole,
        DownloadStateRole
    };

    explicit DownloadCenterModel(QObject *parent = nullptr);
    ~DownloadCenterModel() override;

    // rowCount(QModelIndex) and rowCount() are invokable from the base class.

    Q_INVOKABLE bool appandItem(const DownloadBookDetail &detail);
    Q_INVOKABLE bool deleteItem(int index);
    Q_INVOKABLE void clearAll();
    // 0 for a row that is not there.
    Q_INVOKABLE int getStateByIndex(int index) const;
    Q_INVOKABLE int getDownloadingBookNum() const;
    Q_INVOKABLE int getDownloadTotalNum() const;

    void setDownloadingBookNum(int number);
    void setDownloadTotalNum(int number);

    bool checkCIDExist(const QString &cid) const;
    // The row of the task named cid; -1 when it has none.
    int rowOfCID(const QString &cid) const;
    // Removes the first row of the task named cid; false when there is none.
    bool deleteItembyCID(const QString &cid);

    // Set one number of a row (as the screens' unsigned value); false for a
    // row that is not there.
    bool setCurrentData(int row, int value);
    bool setTotalData(int row, int value);
    bool setStateData(int row, int value);

    // Edits are stored: strings for the text roles, unsigned numbers for the
    // size and state roles. False for a row that is not there, another role,
    // or a number role given something that is no unsigned number.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    void DownloadingBookNumChanged();
    void DownloadTotalNumChanged();
    // For the screens' own use: the model never emits it.
    void loackPopupFlagChanged();

protected:
    int storedCount() const override;
    QVariant storedData(int row, int role) const override;

private:
    bool setNumber(int row, int role, int value);
    void updateTotalNum();

    QList<DownloadBookDetail> m_itemList;
    unsigned m_downloadingNum = 0;
    unsigned m_downloadTotalNum = 0;
};

#endif // DOWNLOADCENTERMODEL_H
