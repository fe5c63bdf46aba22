#include "ebookreadersearchresult.h"

EBookReaderSearchResult::EBookReaderSearchResult(QObject *parent) : QObject(parent) {}

EBookReaderSearchResult::~EBookReaderSearchResult()
{
    qDeleteAll(bookList);
}
