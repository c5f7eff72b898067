#pragma once

#include "link/result_code.h"

#include <cstdint>

namespace ksv {

// Where the decoders take payload bytes from: the serial port on the receive thread, a
// memory buffer in tests and the fuzzer.
class ByteReader {
public:
    virtual ~ByteReader() = default;
    // Reads exactly `length` bytes or fails: kSuccess, kLinkClosed, or a platform code.
    virtual ResultCode ReadBytes(void* buffer, uint32_t length) = 0;
};

} // namespace ksv
