#ifndef STOREBOOK_H
#define STOREBOOK_H

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One book offered by the store, read from its package at start-up.
struct StoreBook
{
    // How a book is paid for: free books download at once, SMS books answer
    // with a charge paid by a premium SMS, account books with a payment the
    // user confirms from the account balance.
    enum Charge
    {
        Free,
        Sms,
        Account
    };

    QString id;
    QString title;
    QString author;
    QString publisher;
    QString description;
    int chapterCount = 0;
    QString packagePath;
    qint64 packageSize = 0;
    QDateTime modified;
    Charge charge = Free;
    int priceCents = 0;
    QByteArray largeCover;
    QByteArray smallCover;

    bool isFree() const { return charge == Free; }
};

#endif // STOREBOOK_H
