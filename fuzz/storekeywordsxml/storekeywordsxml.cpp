// Feeds arbitrary bytes to the reader of suggested keywords.
#include "../storexmlfuzz.h"
#include "ebookreadersearchpushkeyxmlhandler.h"
#include "searchpushkeyword.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzStoreAnswer<EBookReaderSearchPushKeyXmlHandler, SearchPushKeyword>(data, size);
}
