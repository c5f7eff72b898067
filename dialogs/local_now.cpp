#include "dialogs/local_now.h"

#include <ctime>

namespace ksv {

PackedDateTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return PackedDateTime{};
    }
    return PackedDateTime::Make(
        static_cast<uint16_t>(local.tm_year + 1900), static_cast<uint8_t>(local.tm_mon + 1),
        static_cast<uint8_t>(local.tm_mday), static_cast<uint8_t>(local.tm_hour),
        static_cast<uint8_t>(local.tm_min),
        static_cast<uint8_t>(local.tm_sec % 60), // leap second
        static_cast<uint8_t>(local.tm_wday));
}

} // namespace ksv
