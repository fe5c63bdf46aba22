#include "commondef.h"

QString gloabal_UID;
