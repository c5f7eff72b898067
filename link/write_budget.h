#pragma once

#include "link/link_limits.h"
#include "link/result_code.h"
#include "link/stream_port.h"

#include <cstdint>

namespace ksv {

// Writes one whole frame within its budget: (length × patience + 10) attempts about 10 ms
// apart, but never longer than limits.frameWriteMs in all or limits.writeStallMs without a byte
// going out. Past the budget the transmit side is purged and the result is kWriteGaveUp;
// otherwise kSuccess, kLinkClosed, or a platform failure.
ResultCode WriteWithinBudget(StreamPort& port, const uint8_t* data, uint32_t length,
                             uint32_t patience, const LinkLimits& limits);

} // namespace ksv
