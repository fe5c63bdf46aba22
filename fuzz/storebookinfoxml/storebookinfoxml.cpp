// Feeds arbitrary bytes to the reader of book details.
#include "../storexmlfuzz.h"
#include "bookinfoitem.h"
#include "bookinfoxmlhandler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzStoreAnswer<BookInfoXmlHandler, BookInfoItem>(data, size);
}
