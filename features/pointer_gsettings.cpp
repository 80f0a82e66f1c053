#include "features/pointer_gsettings.h"

#include "features/features_log.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString kSchema = QStringLiteral("org.gnome.desktop.peripherals.mouse");
constexpr int kKillWaitMs = 200;

} // namespace

GsettingsPointerBackend::GsettingsPointerBackend(const QString& program, int timeoutMs)
    : m_program(program), m_timeoutMs(timeoutMs)
{
}

QString GsettingsPointerBackend::gnomeSpeed(uint speed)
{
    const double value = qBound(-1.0, (double(speed) - 10.0) / 10.0, 1.0);
    // 'f' formatting is locale-independent: gsettings wants a dot.
    return QString::number(value, 'f', 2);
}

bool GsettingsPointerBackend::setMouseSpeed(uint speed)
{
    return set(QStringLiteral("speed"), gnomeSpeed(speed));
}

bool GsettingsPointerBackend::setDoubleClickTime(uint milliseconds)
{
    return set(QStringLiteral("double-click"), QString::number(milliseconds));
}

bool GsettingsPointerBackend::setWheelScrollLines(uint lines)
{
    Q_UNUSED(lines);
    return false;
}

bool GsettingsPointerBackend::set(const QString& key, const QString& value) const
{
    const QString exe = QStandardPaths::findExecutable(m_program);
    if (exe.isEmpty())
        return false;

    QProcess tool;
    tool.setProgram(exe);
    tool.setArguments({QStringLiteral("set"), kSchema, key, value});
    QElapsedTimer clock;
    clock.start();
    tool.start(QIODevice::ReadOnly);
    if (!tool.waitForStarted(m_timeoutMs))
        return false;
    const int left = qMax(0, m_timeoutMs - int(clock.elapsed()));
    if (!tool.waitForFinished(left)) {
        qCDebug(lcFeatures) << "gsettings did not answer within" << m_timeoutMs << "ms";
        tool.kill();
        tool.waitForFinished(kKillWaitMs);
        return false;
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        qCDebug(lcFeatures) << "gsettings:" << QString::fromLocal8Bit(tool.readAllStandardError()).trimmed();
        return false;
    }
    return true;
}
