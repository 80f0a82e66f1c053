#include "run_files.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

QStringList traceLinesOf(const QByteArray& text)
{
    QStringList lines;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            lines.append(line);
    }
    return lines;
}

QStringList commandFramesOf(const QStringList& traceLines)
{
    QStringList frames;
    for (const QString& line : traceLines) {
        const QStringList w = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // "<ms> set-feature cmd 00 <8 frame bytes>"
        if (w.size() >= 12 && w.at(1) == QLatin1String("set-feature") && w.at(2) == QLatin1String("cmd"))
            frames.append(w.mid(4, 8).join(QLatin1Char(' ')));
    }
    return frames;
}

QStringList writeFramesOf(const QStringList& traceLines)
{
    QStringList writes;
    for (const QString& frame : commandFramesOf(traceLines)) {
        const int code = frame.left(2).toInt(nullptr, 16);
        if (code != 0x00 && code < 0x80)
            writes.append(frame);
    }
    return writes;
}

QVariant freshSetting(const QString& path, const QString& key)
{
    // Settings objects of this process on the same file share their pending
    // writes: syncing one writes what the program has set so far.
    QSettings(path, QSettings::IniFormat).sync();
    if (!QFileInfo::exists(path))
        return QVariant();
    QTemporaryDir tmp;
    const QString copy = tmp.filePath(QStringLiteral("read.ini"));
    if (!QFile::copy(path, copy))
        return QVariant();
    QSettings s(copy, QSettings::IniFormat);
    return s.value(key);
}

void writeSettings(const QString& path, const QVariantMap& values)
{
    QSettings s(path, QSettings::IniFormat);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        s.setValue(it.key(), it.value());
}
