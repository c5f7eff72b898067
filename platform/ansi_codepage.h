#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ksv {

// The handheld's ANSI code page (Windows-1252). Every byte converts to one UTF-16 unit; the
// five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1
// control with the same number. Characters without a byte become '?'.

// All `length` bytes, embedded NULs included.
std::u16string AnsiToWide(const uint8_t* bytes, size_t length);
// Up to the first NUL or `maxLength` bytes, whichever comes first.
std::u16string AnsiToWideZ(const uint8_t* bytes, size_t maxLength);
// One byte per UTF-16 unit, a surrogate pair giving a single '?'.
std::string WideToAnsi(const std::u16string& text);
std::string WideToAnsi(const char16_t* text, size_t length);

char16_t AnsiCharToWide(uint8_t byte);
// The byte for one character, or '?' when the code page has none.
uint8_t WideCharToAnsi(char16_t ch);

} // namespace ksv
