#pragma once
// One entry of the device catalogue kept in modules/setting/apConfig.bin.

#include <QByteArray>
#include <QList>
#include <QString>

struct DeviceDescriptor {
    qint32 type = -1;           // 0 keyboard, 1 mouse; kept, not used by the link
    quint16 vid = 0;
    quint16 pid = 0;
    quint16 usagePage = 0;      // command interface
    quint16 usage = 0;
    quint16 usagePage2 = 0;     // report interface
    quint16 usage2 = 0;
    qint32 reportLength = 32;   // chunk size of bulk transfers
    bool isEncode = false;      // command frames are ciphered
    QString sCode = QStringLiteral("386514");
    QString path;               // found at run time; empty = not present
    QString path2;
};

class HidApi;

// Reads the catalogue; a missing or empty file yields no entries.
QList<DeviceDescriptor> readCatalogue(const QString& apConfigPath);

// Fills path/path2 of every entry from the HID interfaces present now.
// When several interfaces match, the last one wins; one may fill both.
void locateInterfaces(HidApi& api, QList<DeviceDescriptor>& devices);
