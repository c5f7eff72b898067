#include "tests/support/stream_device.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace ksv::testing {

std::string MakeDeviceRoot(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && tmp[0] ? tmp : "/tmp") + "/" + prefix + "XXXXXX";
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    std::filesystem::create_directories(std::filesystem::path(pattern) / "ports");
    std::filesystem::create_directories(std::filesystem::path(pattern) / "files");
    return pattern;
}

int RemainingMs(std::chrono::steady_clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

std::optional<std::vector<uint8_t>> ReadExactly(int fd, size_t length,
                                                std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    std::vector<uint8_t> bytes(length);
    size_t done = 0;
    while (done < length) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, RemainingMs(end)) <= 0) {
            return std::nullopt;
        }
        const ssize_t count = read(fd, bytes.data() + done, length - done);
        if (count == 0 || (count < 0 && errno != EINTR && errno != EAGAIN)) {
            return std::nullopt; // the other side closed, or a real error
        }
        done += count > 0 ? static_cast<size_t>(count) : 0;
    }
    return bytes;
}

size_t DrainFd(int fd, std::chrono::milliseconds quiet) {
    size_t total = 0;
    uint8_t buffer[4096];
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(quiet.count())) <= 0) {
            return total;
        }
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) {
            return total;
        }
        total += static_cast<size_t>(count);
    }
}

} // namespace ksv::testing
