#pragma once

#include "link/control_record.h"
#include "platform/error_reporter.h"

#include <cstddef>
#include <cstdint>

namespace ksv {

// Limits past which an image record means the link itself is broken.
inline constexpr uint32_t kMaxImageBytes = 0x100000;
inline constexpr uint32_t kMaxImageCaption = 0x10000;

// Decodes one control record of a PanelDescription (tag, flags, id, value, FieldBlock) from
// its `size` bytes into a zeroed record. Never reads outside those bytes: a value length past
// the end is cut to what is there. Bad value lengths and missing required fields are reported
// and leave the record in the list. Returns false when the record must refuse the whole panel
// (an oversized image: the user has been told and the application asked to quit).
bool DecodeControlRecord(const uint8_t* data, size_t size, ControlRecord& record,
                         ErrorReporter& reporter);

} // namespace ksv
