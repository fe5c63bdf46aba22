#ifndef EBOOKREADERSEARCHRESULT_H
#define EBOOKREADERSEARCHRESULT_H

#include "searchbookinfo.h"

#include <QList>
#include <QObject>
#include <QString>

// One page of a keyword search or of the recommendation list: the page
// header and the page's books, which it owns.
class EBookReaderSearchResult : public QObject
{
    Q_OBJECT
public:
    explicit EBookReaderSearchResult(QObject *parent = nullptr);
    ~EBookReaderSearchResult() override;

    QString ret;
    int totalpage = 0;
    int pageidx = 0;
    int totalItem = 0;
    QString msgs;
    QString tips;
    QList<bookInfo *> bookList;
};

#endif // EBOOKREADERSEARCHRESULT_H
