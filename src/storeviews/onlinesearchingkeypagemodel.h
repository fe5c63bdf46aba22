#ifndef ONLINESEARCHINGKEYPAGEMODEL_H
#define ONLINESEARCHINGKEYPAGEMODEL_H

#include "storedlistmodel.h"

#include <QStringList>

class SearchBookMgr;

// The keyword page of the store search: the keywords the store suggests.
class OnlineSearchingKeyPageModel : public StoredListModel
{
    Q_OBJECT
public:
    enum Roles
    {
        KeywordRole = FirstRole
    };

    explicit OnlineSearchingKeyPageModel(SearchBookMgr &searchBookMgr, QObject *parent = nullptr);

    bool insertItem(const QString &keyword);
    bool removeAllItem();
    bool deleteItem(int index);

public slots:
    void handleSelectInputText(QString str);
    void handleKeyWordClick(int index);

protected:
    int storedCount() const override;
    QVariant storedData(int row, int role) const override;

private:
    SearchBookMgr &m_searchBookMgr;
    QStringList m_keyWordList;
};

#endif // ONLINESEARCHINGKEYPAGEMODEL_H
