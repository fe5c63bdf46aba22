#ifndef ACCOUNTITEM_H
#define ACCOUNTITEM_H

#include <QString>

// One line of the account page: a label and its value.
class AccountItem
{
public:
    void copyAccountItem(const AccountItem *other);

    QString m_itemId;
    QString m_itemContent;
};

#endif // ACCOUNTITEM_H
