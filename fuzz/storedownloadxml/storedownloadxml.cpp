// Feeds arbitrary bytes to the reader of download orders, both whole and through
// a device read in pieces.
#include "downloadtype.h"
#include "ebookreaderdownloadxmlhandler.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        EBookReaderDownloadXmlHandler handler;
        Downloadtype record;
        handler.readFile(bytes, &record);
        handler.errorCode();
    }
    {
        QBuffer device;
        device.setData(bytes);
        device.open(QIODevice::ReadOnly);
        EBookReaderDownloadXmlHandler handler;
        Downloadtype record;
        handler.readFile(&device, &record);
    }
    return 0;
}
