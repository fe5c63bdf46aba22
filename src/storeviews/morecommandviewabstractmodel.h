#ifndef MORECOMMANDVIEWABSTRACTMODEL_H
#define MORECOMMANDVIEWABSTRACTMODEL_H

#include "recommanddetail.h"
#include "storedlistmodel.h"

#include <memory>
#include <vector>

// The list of further recommendations. Pages are appended as the network
// manager receives them; the model itself only asks for the next page.
//
// Going back a page is disabled on purpose: every page loaded so far stays in
// the list above the newest one, so asking for an earlier page again would
// only repeat rows that are already shown.
class MoreCommandViewAbstractModel : public StoredListModel
{
    Q_OBJECT
    Q_PROPERTY(int pageCount READ getPageCount WRITE setPageCount NOTIFY PageCountChanged)
    Q_PROPERTY(int currentPageNum READ getCurrentPageNum WRITE setCurrentPageNum NOTIFY
                   CurrentPageNumChanged)
    Q_PROPERTY(int ItemNumInOnePage READ getItemNumInOnePage WRITE setItemNumInOnePage NOTIFY
                   ItemNumInOnePageChanged)
public:
    enum Roles
    {
        ImagePathRole = FirstRole,
        BookNameRole,
        AuthorNameRole,
        SummaryRole,
        BookIdRole
    };

    explicit MoreCommandViewAbstractModel(QObject *parent = nullptr);
    ~MoreCommandViewAbstractModel() override;

    Q_INVOKABLE int rowCount(const QModelIndex &parent) const override;
    Q_INVOKABLE int rowCount() const;
    Q_INVOKABLE bool deleteItem(int index);
    Q_INVOKABLE void clearAll();
    Q_INVOKABLE int getPageCount() const { return m_pageCount; }
    Q_INVOKABLE int getCurrentPageNum() const { return m_currentPageNum; }
    Q_INVOKABLE int getItemNumInOnePage() const { return m_ItemNumInOnePage; }
    Q_INVOKABLE bool clickPageIcon(int pageIconIndex);
    Q_INVOKABLE bool getIsMeetBottom() const { return m_isMeetBottom; }

    bool appandItem(const RecommandDetail &detail);
    void setIsMeetBottom(bool meetBottom) { m_isMeetBottom = meetBottom; }
    void setPageCount(int count);
    void setCurrentPageNum(int num);
    void setItemNumInOnePage(int num);

signals:
    bool gotoNextPage(int toPage);
    bool gotoPrePage(int toPage);
    void PageCountChanged();
    void CurrentPageNumChanged();
    void ItemNumInOnePageChanged();

protected:
    int storedCount() const override;
    QVariant storedData(int row, int role) const override;

private:
    std::vector<std::unique_ptr<RecommandDetail>> m_itemList;
    // Nothing is known before the first page arrives.
    int m_pageCount = 0;
    int m_currentPageNum = 0;
    int m_ItemNumInOnePage = 0;
    bool m_isMeetBottom = false;
};

#endif // MORECOMMANDVIEWABSTRACTMODEL_H
