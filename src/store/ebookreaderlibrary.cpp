#include "ebookreaderlibrary.h"

EBookReaderLibrary::~EBookReaderLibrary()
{
    qDeleteAll(catList);
    qDeleteAll(recommendList);
    qDeleteAll(subcatList);
}
