#include "link_rig.h"

#include <QSettings>

Hid_Thread& LinkRig::make(int family, bool isEncode, int reportLength)
{
    VirtualMouseIdentity id;
    id.family = family;
    id.isEncode = isEncode;
    id.reportLength = reportLength;
    mouse = std::make_unique<VirtualMouse>(clock, id);
    tracer = std::make_unique<TracingHidApi>(*mouse, clock);
    traceBuffer.open(QIODevice::ReadWrite);
    tracer->setDevice(&traceBuffer);
    hidPtr = std::make_unique<Hid_Thread>(*tracer, clock);
    hidPtr->setHost(&host);
    return *hidPtr;
}

LinkRig::LinkRig(int family, bool isEncode, int reportLength)
    : hid(make(family, isEncode, reportLength))
{
    writeCatalogue({CatalogueEntry{0, QStringLiteral("386514"), isEncode, reportLength},
                    CatalogueEntry{1, QStringLiteral("386514"), isEncode, reportLength}});
    // Entry 0 names a keyboard the machine does not have.
    QSettings s(apConfig(), QSettings::IniFormat);
    s.setValue(QStringLiteral("0/pid"), QStringLiteral("8008"));
}

void LinkRig::writeCatalogue(const QList<CatalogueEntry>& entries)
{
    const VirtualMouseIdentity id = mouse->identity();
    QSettings s(apConfig(), QSettings::IniFormat);
    for (const QString& g : s.childGroups()) {
        bool numeric = false;
        g.toInt(&numeric);
        if (numeric)
            s.remove(g);
    }
    s.setValue(QStringLiteral("common/deviceCount"), entries.size());
    auto hex = [](int v) { return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')); };
    for (int i = 0; i < entries.size(); ++i) {
        const CatalogueEntry& e = entries.at(i);
        const QString g = QString::number(i) + QLatin1Char('/');
        s.setValue(g + QStringLiteral("type"), e.type);
        s.setValue(g + QStringLiteral("vid"), hex(id.vid));
        s.setValue(g + QStringLiteral("pid"), hex(id.pid));
        s.setValue(g + QStringLiteral("usagePage"), hex(id.usagePage));
        s.setValue(g + QStringLiteral("usage"), hex(id.usage));
        s.setValue(g + QStringLiteral("usagePage2"), hex(id.usagePage2));
        s.setValue(g + QStringLiteral("usage2"), hex(id.usage2));
        if (e.reportLength > 0)
            s.setValue(g + QStringLiteral("reportLength"), e.reportLength);
        s.setValue(g + QStringLiteral("isEncode"), e.isEncode);
        s.setValue(g + QStringLiteral("sCode"), e.sCode);
    }
}

QList<TraceEvent> LinkRig::trace() const
{
    QList<TraceEvent> events;
    const QList<QByteArray> lines = traceBuffer.data().split('\n');
    for (const QByteArray& raw : lines) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList w = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (w.size() < 3)
            continue;
        TraceEvent e;
        e.ms = w.at(0).toLongLong();
        e.event = w.at(1);
        e.iface = w.at(2);
        e.bytes = QByteArray::fromHex(w.mid(3).join(QString()).toLatin1());
        events.append(e);
    }
    return events;
}

bool LinkRig::opensClosed() const
{
    int open = 0;
    for (const TraceEvent& e : trace()) {
        if (e.event == QLatin1String("open"))
            ++open;
        else if (e.event == QLatin1String("close"))
            --open;
        if (open < 0 || open > 1)
            return false;
    }
    return open == 0;
}
