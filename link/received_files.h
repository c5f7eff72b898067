#pragma once

#include <optional>
#include <string>

namespace ksv {

// Where a file the device names is written: below the received-files folder only. Back- and
// forward slashes separate components; a drive prefix ("C:") and empty components (leading or
// doubled separators) are dropped. An empty result, a component "." or "..", or a control
// character, or more than 64 components refuses the name. The result is relative, UTF-8,
// '/'-separated.
std::optional<std::string> MapDevicePath(const std::u16string& devicePath);

std::string Utf16ToUtf8(const std::u16string& text);
std::u16string Utf8ToUtf16(const std::string& text);

} // namespace ksv
