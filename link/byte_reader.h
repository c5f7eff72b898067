#pragma once

#include "link/result_code.h"

#include <cstdint>

namespace ksv {

// Where the decoders take payload bytes from: the serial port on the receive thread, a
// memory buffer in tests and the fuzzer.
class ByteReader {
public:
    virtual ~ByteReader() = default;
    // Reads exactly `length` bytes or fails: kSuccess, kLinkClosed, or kPlatformFailure.
    virtual ResultCode ReadBytes(void* buffer, uint32_t length) = 0;
    // Between a frame's marker and its end a reader may give up on a device that stops
    // sending (a port fails the read with ETIMEDOUT); between frames it waits as long as it takes.
    virtual void SetInFrame(bool /*inFrame*/) {}
};

} // namespace ksv
