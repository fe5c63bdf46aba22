#ifndef DOWNLOADTYPE_H
#define DOWNLOADTYPE_H

#include <QObject>
#include <QString>

// The store's answer to a download order: "download" (with the package
// link), "chargedef" (a payment SMS to send first) or "pay" (a payment to
// confirm), told apart by ret.
class Downloadtype : public QObject
{
    Q_OBJECT
public:
    explicit Downloadtype(QObject *parent = nullptr);

    QString ret;
    QString type;
    QString sid;
    QString itemName;
    QString itemType;
    QString itemId;
    QString itemUrl;
    QString itemText;
    QString okText;
    QString cancelText;
    QString title;
    QString text;
    QString content;
    QString link;
    qint64 size = 0;
};

#endif // DOWNLOADTYPE_H
