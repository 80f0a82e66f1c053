#include "device/mouse_snapshot.h"

#include "device/commands_553.h"
#include "device/commands_560.h"
#include "device/hid_thread.h"
#include "device/hid_transport.h"

#include <functional>
#include <vector>

bool MouseSnapshot::operator==(const MouseSnapshot& o) const
{
    return family == o.family && keyboardOptions == o.keyboardOptions && currentDpiStage == o.currentDpiStage
           && currentProfile == o.currentProfile && profileDpiStages == o.profileDpiStages
           && profileBlocks == o.profileBlocks;
}

namespace {

struct Step {
    QString name;
    std::function<bool()> run;
};

QString blockName(int n) { return QStringLiteral("profile block %1").arg(n); }
QString stageName(int p) { return QStringLiteral("DPI stage of profile %1").arg(p); }

std::vector<Step> readSteps(HidTransport& t, MouseSnapshot& s)
{
    std::vector<Step> steps;
    uchar* o = s.keyboardOptions.data();
    if (!s.is560()) {
        steps.push_back({QStringLiteral("keyboard options"), [&t, o] { return cmd553::getKeyboardOption(t, o[0], o[1], o[2], o[3]); }});
        steps.push_back({QStringLiteral("current DPI stage"), [&t, &s] { return cmd553::getCurrentDpi(t, s.currentDpiStage); }});
        return steps;
    }
    steps.push_back({QStringLiteral("keyboard options"), [&t, o] { return cmd560::getKeyboardOption(t, o[0], o[1]); }});
    steps.push_back({QStringLiteral("current profile"), [&t, &s] { return cmd560::getCurrentProfile(t, s.currentProfile); }});
    for (int p = 1; p <= MouseSnapshot::kProfiles; ++p) {
        steps.push_back({stageName(p), [&t, &s, p] {
            uchar profile = uchar(p);   // sent, and echoed by the mouse
            return cmd560::getCurrentDpi(t, profile, s.profileDpiStages[size_t(p - 1)]);
        }});
    }
    for (int n = 0; n < MouseSnapshot::kBlocks; ++n) {
        steps.push_back({blockName(n), [&t, &s, n] {
            return cmd560::readProfile(t, s.profileBlocks[size_t(n)].data(), uchar(n));
        }});
    }
    return steps;
}

std::vector<Step> writeSteps(Hid_Thread& link, const MouseSnapshot& s)
{
    HidTransport& t = link.transport();
    std::vector<Step> steps;
    const uchar* o = s.keyboardOptions.data();
    if (!s.is560()) {
        steps.push_back({QStringLiteral("keyboard options"), [&t, o] { return cmd553::setKeyboardOption(t, o[0], o[1], o[2], o[3]); }});
        steps.push_back({QStringLiteral("current DPI stage"), [&t, &s] { return cmd553::setCurrentDpi(t, s.currentDpiStage); }});
        return steps;
    }
    // The blocks first: what the profiles hold; then what is chosen in them.
    for (int n = 0; n < MouseSnapshot::kBlocks; ++n) {
        steps.push_back({blockName(n), [&link, &s, n] {
            return link.writeProfileBlock(s.profileBlocks[size_t(n)].data(), uchar(n)) == cmd560::BlockWrite::Verified;
        }});
    }
    for (int p = 1; p <= MouseSnapshot::kProfiles; ++p) {
        steps.push_back({stageName(p), [&t, &s, p] {
            return cmd560::setProfileDpiStage(t, uchar(p), s.profileDpiStages[size_t(p - 1)]);
        }});
    }
    steps.push_back({QStringLiteral("current profile"), [&t, &s] { return cmd560::setCurrentProfile(t, s.currentProfile); }});
    steps.push_back({QStringLiteral("keyboard options"), [&t, o] { return cmd560::setKeyboardOption(t, o[0], o[1]); }});
    return steps;
}

} // namespace

bool readMouseSnapshot(HidTransport& t, int family, MouseSnapshot& out, QString* failed)
{
    MouseSnapshot s;
    s.family = family == 560 ? 560 : 553;
    for (const Step& step : readSteps(t, s)) {
        if (!step.run()) {
            if (failed)
                *failed = step.name;
            return false;
        }
    }
    out = s;
    return true;
}

RestoreReport writeMouseSnapshot(Hid_Thread& link, const MouseSnapshot& s)
{
    RestoreReport report;
    for (const Step& step : writeSteps(link, s)) {
        if (!report.ok())
            report.notSent << step.name;
        else if (step.run())
            report.written << step.name;
        else
            report.failed = step.name;
    }
    return report;
}

QString RestoreReport::text() const
{
    const QString sep = QStringLiteral(", ");
    if (ok())
        return QStringLiteral("restored: %1").arg(written.join(sep));
    QString text = written.isEmpty()
        ? QStringLiteral("nothing was restored: %1 did not take").arg(failed)
        : QStringLiteral("the mouse is only partly restored: %1 written; %2 did not take").arg(written.join(sep), failed);
    if (!notSent.isEmpty())
        text += QStringLiteral("; not sent: %1").arg(notSent.join(sep));
    return text;
}
