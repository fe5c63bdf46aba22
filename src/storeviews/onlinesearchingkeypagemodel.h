#ifndef ONLINESEARCHINGKEYPAGEMODEL_H
#define ONLINESEARCHINGKEYPAGEMODEL_H

#include <QAbstractListModel>
#include <QStringList>

class SearchBookMgr;

// The keyword page of the store search: the keywords the store suggests.
class OnlineSearchingKeyPageModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles
    {
        KeywordRole = 33
    };

    explicit OnlineSearchingKeyPageModel(SearchBookMgr &searchBookMgr, QObject *parent = nullptr);

    bool insertItem(const QString &keyword);
    bool removeAllItem();
    bool deleteItem(int index);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QHash<int, QByteArray> roleNames() const override;

public slots:
    void handleSelectInputText(QString str);
    void handleKeyWordClick(int index);

private:
    SearchBookMgr &m_searchBookMgr;
    QStringList m_keyWordList;
    QHash<int, QByteArray> m_roles;
};

#endif // ONLINESEARCHINGKEYPAGEMODEL_H
