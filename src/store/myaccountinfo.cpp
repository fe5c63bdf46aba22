#include "myaccountinfo.h"

MyAccountInfo::~MyAccountInfo()
{
    qDeleteAll(LinesList);
}
