#include "bookinfoitem.h"

BookInfoItem::BookInfoItem(QObject *parent) : QObject(parent) {}
