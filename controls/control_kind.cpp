#include "controls/control_kind.h"

#include <iterator>

std::optional<ControlKind> ControlKindFromRecordKind(uint32_t recordKind) {
    static constexpr ControlKind kTable[] = {
        ControlKind::Unsupported, // 0: not a kind
        ControlKind::Text,        ControlKind::Button,   ControlKind::Latch,
        ControlKind::Section,     ControlKind::DateTime, ControlKind::Number,
        ControlKind::Matrix,      ControlKind::Password, ControlKind::List,
        ControlKind::MessageBox,  ControlKind::Blob,     ControlKind::File,
        ControlKind::Unsupported, ControlKind::Image,
    };
    if (recordKind == 0 || recordKind >= std::size(kTable)) {
        return std::nullopt;
    }
    return kTable[recordKind];
}

bool IsKnownKind(ControlKind kind) {
    const auto value = static_cast<uint32_t>(kind);
    return value <= 14 && value != 1;
}
