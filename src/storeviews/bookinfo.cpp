#include "bookinfo.h"

void BookInfo::copyBookInfo(const BookInfo *other)
{
    if (!other)
        return;
    *this = *other;
}
