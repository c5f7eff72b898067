#pragma once

#include <cstdint>
#include <optional>

// The control's own kind numbering; 1 is never used.
enum class ControlKind : uint32_t {
    Unsupported = 0,
    Button = 2,
    Text = 3,
    Latch = 4,
    Section = 5,
    DateTime = 6,
    Number = 7,
    Matrix = 8,
    Password = 9,
    List = 10,
    MessageBox = 11,
    Blob = 12,
    File = 13,
    Image = 14,
};

// The ControlKind a record of the store's kind becomes; none for 0 and 15 and above.
std::optional<ControlKind> ControlKindFromRecordKind(uint32_t recordKind);

// Every value of the table above; 1 and anything past 14 are not kinds.
bool IsKnownKind(ControlKind kind);
