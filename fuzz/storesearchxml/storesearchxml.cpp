// Feeds arbitrary bytes to the reader of search pages.
#include "../storexmlfuzz.h"
#include "ebookreadersearchresult.h"
#include "ebookreadersearchxmlhandler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzStoreAnswer<EbookReaderSearchXmlHandler, EBookReaderSearchResult>(data, size);
}
