#pragma once

#include "link/panel_store.h"
#include "link/result_code.h"
#include "platform/error_reporter.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ksv {

// Payload of a Values frame (kind 7), appended to `payload`, for every record marked toSend:
// the count, then the entries in list order. Clears each toSend as its entry is encoded and resets
// a button's pressState. A kind that cannot be encoded is reported, ends the payload there and
// gives kNotApplicable (the count then exceeds the entries, as on the wire).
ResultCode EncodeChangedValues(const StoreLock& store, ErrorReporter& reporter,
                               std::vector<uint8_t>& payload);

// One 34-byte password field: wide, at most 16 UTF-16 characters and a NUL; narrow, at most
// 33 characters converted and NUL-terminated. The bytes after the NUL are zero.
inline constexpr size_t kPasswordFieldSize = 34;
std::array<uint8_t, kPasswordFieldSize> EncodePasswordField(const std::u16string& text, bool wide);

// Narrow text in a field of `fieldBytes` bytes: converted, cut to fieldBytes - 1 bytes, NUL
// and zero bytes after. A field of 0 bytes stays empty.
std::vector<uint8_t> EncodeNarrowTextField(const std::u16string& text, size_t fieldBytes);

} // namespace ksv
