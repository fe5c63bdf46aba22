#include "downloadcentermodel.h"

namespace {

// The field a text role reads or edits (Detail const or not); null for any
// other role.
template <typename Detail> auto textField(Detail &detail, int role) -> decltype(&detail.CID)
{
    switch (role) {
    case DownloadCenterModel::ImagePathRole:
        return &detail.BookImage;
    case DownloadCenterModel::BookNameRole:
        return &detail.BookName;
    case DownloadCenterModel::CidRole:
        return &detail.CID;
    case DownloadCenterModel::LinkRole:
        return &detail.Link;
    default:
        return nullptr;
    }
}

// The field a number role reads or edits; null for any other role.
template <typename Detail> auto numberField(Detail &detail, int role) -> decltype(&detail.State)
{
    switch (role) {
    case DownloadCenterModel::DownloadedSizeRole:
        return &detail.BookdownloadedSize;
    case DownloadCenterModel::BookTotalSizeRole:
        return &detail.BooktotalSize;
    case DownloadCenterModel::DownloadStateRole:
        return &detail.State;
    default:
        return nullptr;
    }
}

} // namespace

DownloadCenterModel::DownloadCenterModel(QObject *parent)
    : StoredListModel({{ImagePathRole, "imagepath"},
                       {BookNameRole, "bookname"},
                       {CidRole, "cid"},
                       {LinkRole, "link"},
                       {DownloadedSizeRole, "downloadedsize"},
                       {BookTotalSizeRole, "booktotalsize"},
                       {DownloadStateRole, "downloadState"}},
                      parent)
{}

DownloadCenterModel::~DownloadCenterModel() = default;

int DownloadCenterModel::storedCount() const
{
    return static_cast<int>(m_itemList.size());
}

QVariant DownloadCenterModel::storedData(int row, int role) const
{
    const DownloadBookDetail &detail = m_itemList.at(row);
    if (const QString *field = textField(detail, role))
        return *field;
    if (const quint32 *field = numberField(detail, role))
        return *field;
    return QVariant();
}

bool DownloadCenterModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || !isValidRow(index.row()))
        return false;
    DownloadBookDetail &detail = m_itemList[index.row()];
    if (QString *field = textField(detail, role)) {
        *field = value.toString();
    } else if (quint32 *field = numberField(detail, role)) {
        bool ok = false;
        const quint32 number = value.toUInt(&ok);
        if (!ok)
            return false;
        *field = number;
    } else {
        return false;
    }
    emit dataChanged(index, index, {role});
    return true;
}

bool DownloadCenterModel::appandItem(const DownloadBookDetail &detail)
{
    insertStoredRow(storedCount(), [&] { m_itemList.append(detail); });
    updateTotalNum();
    return true;
}

bool DownloadCenterModel::deleteItem(int index)
{
    if (!removeStoredRow(index, [&] { m_itemList.removeAt(index); }))
        return false;
    updateTotalNum();
    return true;
}

void DownloadCenterModel::clearAll()
{
    if (removeAllStoredRows([&] { m_itemList.clear(); }))
        updateTotalNum();
}

int DownloadCenterModel::getStateByIndex(int index) const
{
    if (!isValidRow(index))
        return 0;
    return static_cast<int>(m_itemList.at(index).State);
}

int DownloadCenterModel::getDownloadingBookNum() const
{
    return static_cast<int>(m_downloadingNum);
}

int DownloadCenterModel::getDownloadTotalNum() const
{
    return static_cast<int>(m_downloadTotalNum);
}

void DownloadCenterModel::setDownloadingBookNum(int number)
{
    m_downloadingNum = static_cast<unsigned>(number);
    // Announced even when unchanged: the screens refresh their badge on it.
    emit DownloadingBookNumChanged();
}

void DownloadCenterModel::setDownloadTotalNum(int number)
{
    m_downloadTotalNum = static_cast<unsigned>(number);
    emit DownloadTotalNumChanged();
}

void DownloadCenterModel::updateTotalNum()
{
    setDownloadTotalNum(storedCount());
}

bool DownloadCenterModel::checkCIDExist(const QString &cid) const
{
    return rowOfCID(cid) >= 0;
}

int DownloadCenterModel::rowOfCID(const QString &cid) const
{
    for (int row = 0; row < storedCount(); ++row) {
        if (m_itemList.at(row).CID == cid)
            return row;
    }
    return -1;
}

bool DownloadCenterModel::deleteItembyCID(const QString &cid)
{
    return deleteItem(rowOfCID(cid));
}

bool DownloadCenterModel::setNumber(int row, int role, int value)
{
    // The engine hands 32-bit unsigned sizes through an int: keep the bits.
    return setData(index(row), QVariant::fromValue(static_cast<quint32>(value)), role);
}

bool DownloadCenterModel::setCurrentData(int row, int value)
{
    return setNumber(row, DownloadedSizeRole, value);
}

bool DownloadCenterModel::setTotalData(int row, int value)
{
    return setNumber(row, BookTotalSizeRole, value);
}

bool DownloadCenterModel::setStateData(int row, int value)
{
    return setNumber(row, DownloadStateRole, value);
}
