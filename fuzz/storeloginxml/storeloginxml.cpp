// Feeds arbitrary bytes to the reader of login answers.
#include "../storexmlfuzz.h"
#include "ebookreaderusrlogxmlhandler.h"
#include "userlogininfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzStoreAnswer<EbookReaderUsrLogXmlHandler, UserLoginInfo>(data, size);
}
