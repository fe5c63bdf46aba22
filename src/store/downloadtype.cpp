#include "downloadtype.h"

Downloadtype::Downloadtype(QObject *parent) : QObject(parent) {}
