// Feeds arbitrary bytes to the reader of store front pages, both whole and through
// a device read in pieces.
#include "ebooklibraryxmlhandler.h"
#include "ebookreaderlibrary.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        EBookLibraryXmlHandler handler;
        EBookReaderLibrary record;
        handler.readFile(bytes, &record);
        handler.errorCode();
    }
    {
        QBuffer device;
        device.setData(bytes);
        device.open(QIODevice::ReadOnly);
        EBookLibraryXmlHandler handler;
        EBookReaderLibrary record;
        handler.readFile(&device, &record);
    }
    return 0;
}
