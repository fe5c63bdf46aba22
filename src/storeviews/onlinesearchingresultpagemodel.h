#ifndef ONLINESEARCHINGRESULTPAGEMODEL_H
#define ONLINESEARCHINGRESULTPAGEMODEL_H

#include "onlinesearchingbookinfo.h"
#include "storedlistmodel.h"

#include <memory>
#include <vector>

class SearchBookMgr;

// The result page of the store search. Further pages are appended below the
// rows already shown; a new search empties the list.
class OnlineSearchingResultPageModel : public StoredListModel
{
    Q_OBJECT
    Q_PROPERTY(QString onlineResultTitle READ getOnlineResultTitle WRITE setOnlineResultTitle NOTIFY
                   onlineResultTitleChanged)
    Q_PROPERTY(bool pageUpGrayFlag READ getPageUpGrayFlag WRITE setPageUpGrayFlag NOTIFY
                   pageUpGrayFlagChanged)
    Q_PROPERTY(bool pageDownGrayFlag READ getPageDownGrayFlag WRITE setPageDownGrayFlag NOTIFY
                   pageDownGrayFlagChanged)
public:
    enum Roles
    {
        IconPathRole = FirstRole,
        BookNameRole,
        AuthorNameRole,
        PresentationRole,
        // The screens ask for the book id by 39; 37 and 38 are unused.
        BookIdRole = FirstRole + 6
    };

    explicit OnlineSearchingResultPageModel(SearchBookMgr &searchBookMgr,
                                            QObject *parent = nullptr);
    ~OnlineSearchingResultPageModel() override;

    bool insertItem(const OnlineSearchingBookInfo &info);
    bool insertItem(int index, const OnlineSearchingBookInfo &info);
    bool removeAllItem();
    bool deleteItem(int index);

    QString getOnlineResultTitle() const { return m_resultTitle; }
    void setOnlineResultTitle(const QString &title);
    bool getPageUpGrayFlag() const { return m_pageupFlag; }
    void setPageUpGrayFlag(bool gray);
    bool getPageDownGrayFlag() const { return m_pagedownFlag; }
    void setPageDownGrayFlag(bool gray);

public slots:
    bool handlePageup();
    bool handlePagedown();
    QString getBookID(int index);
    QString getInputText();
    void handleSearchButtonClicked(QString aStr);

signals:
    void onlineResultTitleChanged();
    void pageUpGrayFlagChanged();
    void pageDownGrayFlagChanged();

protected:
    int storedCount() const override;
    QVariant storedData(int row, int role) const override;

private:
    SearchBookMgr &m_searchBookMgr;
    std::vector<std::unique_ptr<OnlineSearchingBookInfo>> m_itemList;
    QString m_resultTitle;
    bool m_pageupFlag = true;
    bool m_pagedownFlag = true;
};

#endif // ONLINESEARCHINGRESULTPAGEMODEL_H
