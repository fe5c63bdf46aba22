#include "accountitem.h"

void AccountItem::copyAccountItem(const AccountItem *other)
{
    if (!other)
        return;
    m_itemId = other->m_itemId;
    m_itemContent = other->m_itemContent;
}
