// Feeds arbitrary bytes to the reader of book details, both whole and through
// a device read in pieces.
#include "bookinfoitem.h"
#include "bookinfoxmlhandler.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        BookInfoXmlHandler handler;
        BookInfoItem record;
        handler.readFile(bytes, &record);
        handler.errorCode();
    }
    {
        QBuffer device;
        device.setData(bytes);
        device.open(QIODevice::ReadOnly);
        BookInfoXmlHandler handler;
        BookInfoItem record;
        handler.readFile(&device, &record);
    }
    return 0;
}
