#pragma once
// The 8-byte command frame and the 9-byte feature report that carries it.

#include <array>
#include <cstdint>
#include <initializer_list>

using uchar = unsigned char;

constexpr int kFrameSize = 8;
constexpr int kFeatureReportSize = kFrameSize + 1;   // report id 0 first

using CommandFrame = std::array<uchar, kFrameSize>;
using FeatureReport = std::array<uchar, kFeatureReportSize>;
static_assert(sizeof(CommandFrame) == 8, "a command frame is 8 bytes");
static_assert(sizeof(FeatureReport) == 9, "a feature report is 9 bytes");

// Complement of the 8-bit sum of bytes 0 to 6.
uchar frameChecksum(const uchar* frame);

// Frame from bytes 0..6 (missing ones are 0) with its checksum in byte 7.
CommandFrame makeFrame(std::initializer_list<uchar> bytes0to6);

// Whether `reply` answers `request`: it echoes the command byte and carries a
// valid checksum. Anything else is noise on the line (or a mouse in another
// state) and must not reach the caller as its values.
bool replyAnswers(const CommandFrame& request, const CommandFrame& reply);

// Report id 0 followed by the frame.
FeatureReport toFeatureReport(const CommandFrame& frame);
