#pragma once

#include "device_port.h"

#include <cstddef>
#include <cstdint>

namespace ksv::demo {

enum class WriteOutcome { kDone, kGone, kStalled };

// Writes all `length` bytes to the handheld, waiting for room up to `patienceMs` in all:
// kGone when the handheld has gone, kStalled when it does not read.
WriteOutcome WriteWhole(DevicePort& port, const uint8_t* data, size_t length, int patienceMs);

} // namespace ksv::demo
