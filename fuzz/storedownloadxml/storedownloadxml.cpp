// Feeds arbitrary bytes to the reader of download orders.
#include "../storexmlfuzz.h"
#include "downloadtype.h"
#include "ebookreaderdownloadxmlhandler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzStoreAnswer<EBookReaderDownloadXmlHandler, Downloadtype>(data, size);
}
