// Feeds arbitrary bytes to the reader of account pages.
#include "../storexmlfuzz.h"
#include "ebookreadermyaccountxmlhandler.h"
#include "myaccountinfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzStoreAnswer<EBookReaderMyAccountXmlHandler, MyAccountInfo>(data, size);
}
