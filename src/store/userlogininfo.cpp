#include "userlogininfo.h"

UserLoginInfo::UserLoginInfo(QObject *parent) : QObject(parent) {}
