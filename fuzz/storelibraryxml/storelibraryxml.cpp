// Feeds arbitrary bytes to the reader of store front pages.
#include "../storexmlfuzz.h"
#include "ebooklibraryxmlhandler.h"
#include "ebookreaderlibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzStoreAnswer<EBookLibraryXmlHandler, EBookReaderLibrary>(data, size);
}
