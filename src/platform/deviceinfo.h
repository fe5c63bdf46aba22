#ifndef DEVICEINFO_H
#define DEVICEINFO_H

#include <QString>

// The device values sent with every store request. Both are read fresh on
// each call, so a modem that appears later is seen by the next request.
class DeviceInfo
{
public:
    // The modem's equipment identifier (IMEI) as ModemManager reports it on
    // the system bus; empty when there is no bus, no ModemManager or no modem.
    static QString imei();
    // The machine's product name from DMI, else the operating system's name.
    static QString productName();

private:
    static QString dmiProductName();
};

#endif // DEVICEINFO_H
