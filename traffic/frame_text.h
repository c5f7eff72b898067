#pragma once

#include "traffic/captured_frame.h"

#include <string>

namespace ksv {

// The monitor's columns as text.
std::string FrameTimeText(const CapturedFrame& frame);      // "1234.567" ms since connecting
std::string FrameDirectionText(const CapturedFrame& frame); // "in" from the device, "out" to it
std::string FrameFlagsText(const CapturedFrame& frame);     // "0x0008", empty without a header
std::string FrameLengthText(const CapturedFrame& frame);    // payload bytes, skipped bytes

// One tab-separated line of all columns, for copying and saving.
std::string FrameLine(const CapturedFrame& frame);

// 16 bytes a line: offset, hex, printable ASCII; a frame kept in part says how much is shown.
std::string HexDump(const CapturedFrame& frame);

} // namespace ksv
