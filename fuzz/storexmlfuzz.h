#ifndef STOREXMLFUZZ_H
#define STOREXMLFUZZ_H

// The common body of the store answer fuzz targets: the bytes go to a fresh
// reader and record twice, once whole and once through a device read in
// pieces, so both ways of feeding the parser see every input.
#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

template <typename Handler, typename Record> int fuzzStoreAnswer(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        Handler handler;
        Record record;
        handler.readFile(bytes, &record);
        handler.errorCode();
    }
    {
        QBuffer device;
        device.setData(bytes);
        device.open(QIODevice::ReadOnly);
        Handler handler;
        Record record;
        handler.readFile(&device, &record);
    }
    return 0;
}

#endif // STOREXMLFUZZ_H
