#include "device/commands_560.h"

#include "device/hid_transport.h"

#include <algorithm>
#include <array>

namespace cmd560 {
namespace {

enum Row {
    GetKeyboardOption, GetCurrentProfile, GetCurrentDpi, ReadProfile,
    SetKeyboardOption, SetCurrentProfile, SetReportRate, SetCurrentDpi,
    SetProfile, SetKeyMatrix, SetMacroKey,
};

//                                code  paced  debug line when the link stays busy
constexpr CommandSpec kCommands[] = {
    /* GetKeyboardOption */ {0x81, false, "cmd Failed 81"},
    /* GetCurrentProfile */ {0x82, false, "cmd Failed 82"},
    /* GetCurrentDpi     */ {0x84, false, "cmd Failed 84"},
    /* ReadProfile       */ {0x8C, false, "cmd Failed 8c"},
    /* SetKeyboardOption */ {0x01, false, "cmd Failed 01"},
    /* SetCurrentProfile */ {0x02, false, "cmd Failed 02"},
    /* SetReportRate     */ {0x03, true,  "cmd Failed 03"},
    /* SetCurrentDpi     */ {0x04, true,  "cmd Failed 04"},
    /* SetProfile        */ {0x0C, true,  "cmd Failed 0C"},
    /* SetKeyMatrix      */ {0x0D, true,  "cmd Failed 0D"},
    /* SetMacroKey       */ {0x0F, true,  "cmd Failed 0F"},
};
static_assert(sizeof(kCommands) / sizeof(kCommands[0]) == SetMacroKey + 1, "one row per command");

constexpr int kBlockSize = 128;
constexpr int kProfiles = 4;    // profile-wide settings go to profiles 1..4

const CommandSpec& row(Row r) { return kCommands[r]; }

// Writes one value into every profile, claiming the link once for all frames.
// A failed frame does not stop the loop: the other profiles still get the value.
bool sendToProfiles(HidTransport& t, Row r, uchar value, const std::function<bool()>& singleProfile)
{
    const CommandSpec& s = row(r);
    return t.runCommand(s, [&] {
        bool all = true;
        for (uchar p = 1; p <= kProfiles; ++p) {
            all = t.exchangeWrite(makeFrame({s.code, p, value}), nullptr, 0, s.paced) && all;
            if (singleProfile && singleProfile())
                break;
        }
        return all;
    });
}

} // namespace

bool getKeyboardOption(HidTransport& t, uchar& byte1, uchar& byte2)
{
    const CommandSpec& s = row(GetKeyboardOption);
    return t.readCommand(s, makeFrame({s.code}), {{1, &byte1}, {2, &byte2}});
}

bool getCurrentProfile(HidTransport& t, uchar& byte1)
{
    const CommandSpec& s = row(GetCurrentProfile);
    return t.readCommand(s, makeFrame({s.code}), {{1, &byte1}});
}

bool getCurrentDpi(HidTransport& t, uchar& byte1, uchar& byte2)
{
    const CommandSpec& s = row(GetCurrentDpi);
    return t.readCommand(s, makeFrame({s.code, byte1}), {{1, &byte1}, {2, &byte2}});
}

bool setKeyboardOption(HidTransport& t, uchar byte1, uchar byte2)
{
    const CommandSpec& s = row(SetKeyboardOption);
    return t.writeCommand(s, makeFrame({s.code, byte1, byte2}));
}

bool setReportRate(HidTransport& t, uchar rate, const std::function<bool()>& singleProfile)
{
    return sendToProfiles(t, SetReportRate, rate, singleProfile);
}

bool setCurrentDpi(HidTransport& t, uchar stage, const std::function<bool()>& singleProfile)
{
    return sendToProfiles(t, SetCurrentDpi, stage, singleProfile);
}

bool setKeyMatrix(HidTransport& t, const uchar* src64, uchar indexAddOne)
{
    // The mouse always takes a 128-byte payload: the matrix, then zeros.
    std::array<uchar, kBlockSize> payload{};
    std::copy_n(src64, 64, payload.begin());
    const CommandSpec& s = row(SetKeyMatrix);
    return t.writeCommand(s, makeFrame({s.code, indexAddOne, kBlockSize}), payload.data(), kBlockSize);
}

BlockWrite writeProfileChecked(HidTransport& t, const uchar* src128, uchar profileData)
{
    constexpr int kAttempts = 2;
    const CommandSpec& s = row(SetProfile);
    const CommandFrame write = makeFrame({s.code, profileData, kBlockSize});
    const CommandFrame read = makeFrame({row(ReadProfile).code, profileData});
    BlockWrite result = BlockWrite::NotReached;
    t.runCommand(s, [&] {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            if (!t.exchangeWrite(write, src128, kBlockSize, s.paced)) {
                result = BlockWrite::NotReached;
                return false;
            }
            std::array<uchar, kBlockSize> back{};
            CommandFrame reply{};
            if (t.exchangeRead(read, reply, back.data(), kBlockSize)
                && std::equal(back.begin(), back.end(), src128)) {
                result = BlockWrite::Verified;
                return true;
            }
            result = BlockWrite::NotVerified;
        }
        return false;
    });
    return result;
}

bool setProfile(HidTransport& t, const uchar* src128, uchar profileData)
{
    return writeProfileChecked(t, src128, profileData) == BlockWrite::Verified;
}

bool setProfileDpiStage(HidTransport& t, uchar profile, uchar stage)
{
    const CommandSpec& s = row(SetCurrentDpi);
    return t.writeCommand(s, makeFrame({s.code, profile, stage}));
}

bool readProfile(HidTransport& t, uchar* src128, uchar profileNo)
{
    const CommandSpec& s = row(ReadProfile);
    return t.readCommand(s, makeFrame({s.code, profileNo}), {}, src128, kBlockSize);
}

bool setCurrentProfile(HidTransport& t, uchar profile)
{
    const CommandSpec& s = row(SetCurrentProfile);
    return t.writeCommand(s, makeFrame({s.code, profile}));
}

bool setMacroKey(HidTransport& t, uchar macroId, const uchar* src128)
{
    const CommandSpec& s = row(SetMacroKey);
    return t.writeCommand(s, makeFrame({s.code, macroId, kBlockSize}), src128, kBlockSize);
}

} // namespace cmd560
