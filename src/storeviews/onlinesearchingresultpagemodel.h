#ifndef ONLINESEARCHINGRESULTPAGEMODEL_H
#define ONLINESEARCHINGRESULTPAGEMODEL_H

#include "onlinesearchingbookinfo.h"

#include <QAbstractListModel>
#include <memory>
#include <vector>

class SearchBookMgr;

// The result page of the store search. Further pages are appended below the
// rows already shown; a new search empties the list.
class OnlineSearchingResultPageModel : public QAbstractListModel
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
        IconPathRole = 33,
        BookNameRole = 34,
        AuthorNameRole = 35,
        PresentationRole = 36,
        BookIdRole = 39
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

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QHash<int, QByteArray> roleNames() const override;

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

private:
    bool isValidRow(int index) const;

    SearchBookMgr &m_searchBookMgr;
    std::vector<std::unique_ptr<OnlineSearchingBookInfo>> m_itemList;
    QString m_resultTitle;
    bool m_pageupFlag = true;
    bool m_pagedownFlag = true;
    QHash<int, QByteArray> m_roles;
};

#endif // ONLINESEARCHINGRESULTPAGEMODEL_H
