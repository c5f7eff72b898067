#include "port_write.h"

#include <cerrno>
#include <chrono>
#include <poll.h>

namespace ksv::demo {

WriteOutcome WriteWhole(DevicePort& port, const uint8_t* data, size_t length, int patienceMs) {
    using Clock = std::chrono::steady_clock;
    size_t offset = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(patienceMs);
    while (offset < length) {
        const ssize_t wrote = port.Write(data + offset, length - offset);
        if (wrote > 0) {
            offset += static_cast<size_t>(wrote);
            continue;
        }
        if (wrote < 0 && errno != EAGAIN && errno != EINTR) {
            return WriteOutcome::kGone;
        }
        if (Clock::now() >= deadline) {
            return WriteOutcome::kStalled;
        }
        pollfd entry{port.Fd(), POLLOUT, 0};
        ::poll(&entry, 1, 50);
    }
    return WriteOutcome::kDone;
}

} // namespace ksv::demo
