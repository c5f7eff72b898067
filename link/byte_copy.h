#pragma once

#include <cstddef>
#include <cstring>

namespace ksv {

// memcpy that allows an empty copy from or to a null pointer (an empty buffer's data()).
inline void CopyBytes(void* destination, const void* source, size_t count) {
    if (count > 0) {
        std::memcpy(destination, source, count);
    }
}

} // namespace ksv
