#ifndef BOOKINFOITEM_H
#define BOOKINFOITEM_H

#include <QObject>
#include <QString>

// The details of one store book.
class BookInfoItem : public QObject
{
    Q_OBJECT
public:
    explicit BookInfoItem(QObject *parent = nullptr);

    QString bookName;
    QString author;
    QString publisher;
    QString displayLines;
    QString status;
    QString description;
    QString id;
    QString size;
};

#endif // BOOKINFOITEM_H
