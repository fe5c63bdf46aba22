#include "subcat.h"

Subcat::~Subcat()
{
    qDeleteAll(BookItemList);
    qDeleteAll(HrefItemList);
}
