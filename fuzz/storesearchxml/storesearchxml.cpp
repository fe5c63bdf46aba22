// Feeds arbitrary bytes to the reader of search pages, both whole and through
// a device read in pieces.
#include "ebookreadersearchresult.h"
#include "ebookreadersearchxmlhandler.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        EbookReaderSearchXmlHandler handler;
        EBookReaderSearchResult record;
        handler.readFile(bytes, &record);
        handler.errorCode();
    }
    {
        QBuffer device;
        device.setData(bytes);
        device.open(QIODevice::ReadOnly);
        EbookReaderSearchXmlHandler handler;
        EBookReaderSearchResult record;
        handler.readFile(&device, &record);
    }
    return 0;
}
