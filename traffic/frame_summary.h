#pragma once

#include "traffic/captured_frame.h"

#include <cstdint>
#include <string>

namespace ksv {

// The message kind's name ("Values", "StyleUpdate"), "Kind 3" for a kind without one, and
// "Skipped" for a row of skipped bytes.
std::string FrameKindName(const CapturedFrame& frame);
std::string MessageKindName(uint16_t kind);

// One line telling what the frame carries, such as "Values  #0x301 = ff" or
// "StyleUpdate  #0x17 flags 0x00050000"; "skipped 37 bytes" for skipped bytes. Decodes only the
// kept bytes and never reads past them; a frame kept in part ends in "…".
std::string FrameSummary(const CapturedFrame& frame);

} // namespace ksv
