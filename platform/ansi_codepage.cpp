#include "platform/ansi_codepage.h"

namespace ksv {

namespace {

// 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsHighSurrogate(char16_t ch) {
    return ch >= 0xD800 && ch <= 0xDBFF;
}
bool IsLowSurrogate(char16_t ch) {
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

} // namespace

char16_t AnsiCharToWide(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

uint8_t WideCharToAnsi(char16_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        return static_cast<uint8_t>(ch);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == ch) {
            return static_cast<uint8_t>(0x80 + i);
        }
    }
    return '?';
}

std::u16string AnsiToWide(const uint8_t* bytes, size_t length) {
    std::u16string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        out.push_back(AnsiCharToWide(bytes[i]));
    }
    return out;
}

std::u16string AnsiToWideZ(const uint8_t* bytes, size_t maxLength) {
    size_t length = 0;
    while (length < maxLength && bytes[length] != 0) {
        ++length;
    }
    return AnsiToWide(bytes, length);
}

std::string WideToAnsi(const char16_t* text, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < length && IsLowSurrogate(text[i + 1])) {
            out.push_back('?');
            ++i;
            continue;
        }
        out.push_back(static_cast<char>(WideCharToAnsi(text[i])));
    }
    return out;
}

std::string WideToAnsi(const std::u16string& text) {
    return WideToAnsi(text.data(), text.size());
}

} // namespace ksv
