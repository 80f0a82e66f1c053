#include "device/device_descriptor.h"

#include "device/hid_api.h"
#include "device/hid_log.h"

#include <QFileInfo>
#include <QSettings>

namespace {

quint16 hexValue(const QSettings& s, const QString& key)
{
    bool ok = false;
    const uint v = s.value(key, QStringLiteral("0")).toString().trimmed().toUInt(&ok, 16);
    return ok ? static_cast<quint16>(v) : 0;
}

} // namespace

QList<DeviceDescriptor> readCatalogue(const QString& apConfigPath)
{
    QList<DeviceDescriptor> list;
    if (!QFileInfo::exists(apConfigPath))
        return list;
    QSettings s(apConfigPath, QSettings::IniFormat);
    const int count = s.value(QStringLiteral("common/deviceCount"), 0).toString().toInt();
    if (count > 64)
        qCDebug(lcHid) << "device catalogue: deviceCount" << count << "is implausible; reading 64 entries";
    for (int i = 0; i < qMin(count, 64); ++i) {
        const QString g = QString::number(i) + QLatin1Char('/');
        DeviceDescriptor d;
        bool ok = false;
        const int type = s.value(g + QStringLiteral("type"), QStringLiteral("-1")).toString().toInt(&ok, 16);
        d.type = ok ? type : -1;
        d.vid = hexValue(s, g + QStringLiteral("vid"));
        d.pid = hexValue(s, g + QStringLiteral("pid"));
        d.usagePage = hexValue(s, g + QStringLiteral("usagePage"));
        d.usage = hexValue(s, g + QStringLiteral("usage"));
        d.usagePage2 = hexValue(s, g + QStringLiteral("usagePage2"));
        d.usage2 = hexValue(s, g + QStringLiteral("usage2"));
        const int len = s.value(g + QStringLiteral("reportLength"), 32).toString().toInt(&ok);
        // A report must carry at least one byte and fit a high-speed HID report (1024 bytes).
        d.reportLength = (ok && len > 0 && len <= 1024) ? len : 32;
        if (ok && (len <= 0 || len > 1024))
            qCDebug(lcHid) << "device catalogue: entry" << i << "has reportLength" << len << "; using 32";
        d.isEncode = s.value(g + QStringLiteral("isEncode"), false).toString().trimmed().toLower()
                     == QLatin1String("true");
        d.sCode = s.value(g + QStringLiteral("sCode"), QStringLiteral("386514")).toString();
        list.append(d);
    }
    return list;
}

void locateInterfaces(HidApi& api, QList<DeviceDescriptor>& devices)
{
    for (DeviceDescriptor& d : devices) {
        d.path.clear();
        d.path2.clear();
        const QList<HidInterfaceInfo> found = api.enumerate(d.vid, d.pid);
        for (const HidInterfaceInfo& info : found) {
            if (info.usagePage == d.usagePage && info.usage == d.usage)
                d.path = QString::fromLatin1(info.path);
            if (info.usagePage == d.usagePage2 && info.usage == d.usage2)
                d.path2 = QString::fromLatin1(info.path);
        }
        if (!d.path.isEmpty())
            api.notePathRole(d.path.toLatin1(), HidRole::Command);
        if (!d.path2.isEmpty() && d.path2 != d.path)
            api.notePathRole(d.path2.toLatin1(), HidRole::Report);
    }
}
