// Feeds arbitrary bytes to the reader of suggested keywords, both whole and through
// a device read in pieces.
#include "ebookreadersearchpushkeyxmlhandler.h"
#include "searchpushkeyword.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        EBookReaderSearchPushKeyXmlHandler handler;
        SearchPushKeyword record;
        handler.readFile(bytes, &record);
        handler.errorCode();
    }
    {
        QBuffer device;
        device.setData(bytes);
        device.open(QIODevice::ReadOnly);
        EBookReaderSearchPushKeyXmlHandler handler;
        SearchPushKeyword record;
        handler.readFile(&device, &record);
    }
    return 0;
}
