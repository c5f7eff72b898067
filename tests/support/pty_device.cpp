#include "tests/support/pty_device.h"

#include "link/frame.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace ksv::testing {
namespace {

std::string MakeTempRoot() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && tmp[0] ? tmp : "/tmp") + "/ksv-pty-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    return pattern;
}

int RemainingMs(std::chrono::steady_clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

} // namespace

PtyDevice::PtyDevice(int portNumber) : m_portNumber(portNumber) {
    char name[256] = {};
    // The slave starts with the driver's cooked defaults: opening the port must make it raw.
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    m_slavePath = name;
    m_root = MakeTempRoot();
    const std::filesystem::path ports = std::filesystem::path(m_root) / "ports";
    std::filesystem::create_directories(ports);
    std::filesystem::create_directories(std::filesystem::path(m_root) / "files");
    std::filesystem::create_symlink(m_slavePath, ports / ("COM" + std::to_string(portNumber)));
}

PtyDevice::~PtyDevice() {
    HangUp();
    if (m_slave >= 0) {
        close(m_slave);
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

LinkPaths PtyDevice::Paths() const {
    return LinkPaths{m_root + "/ports", m_root + "/files"};
}

void PtyDevice::Write(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = write(m_master, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno != EINTR && errno != EAGAIN) {
            throw std::runtime_error("pty write failed");
        }
        done += count > 0 ? static_cast<size_t>(count) : 0;
    }
    m_written += bytes.size();
}

std::optional<std::vector<uint8_t>> PtyDevice::Read(size_t length,
                                                    std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    std::vector<uint8_t> bytes(length);
    size_t done = 0;
    while (done < length) {
        pollfd fd{m_master, POLLIN, 0};
        if (poll(&fd, 1, RemainingMs(end)) <= 0) {
            return std::nullopt;
        }
        const ssize_t count = read(m_master, bytes.data() + done, length - done);
        if (count <= 0 && errno != EINTR && errno != EAGAIN) {
            return std::nullopt;
        }
        done += count > 0 ? static_cast<size_t>(count) : 0;
    }
    return bytes;
}

size_t PtyDevice::Drain(std::chrono::milliseconds quiet) {
    size_t total = 0;
    uint8_t buffer[4096];
    for (;;) {
        pollfd fd{m_master, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(quiet.count())) <= 0) {
            return total;
        }
        const ssize_t count = read(m_master, buffer, sizeof buffer);
        if (count <= 0) {
            return total;
        }
        total += static_cast<size_t>(count);
    }
}

bool PtyDevice::WaitPendingAtPort(size_t count, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        int pending = 0;
        if (ioctl(m_slave, FIONREAD, &pending) == 0 && static_cast<size_t>(pending) >= count) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        // Polling the slave would race the link's reader for the bytes; a short yield does not.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

termios PtyDevice::LineSettings() const {
    termios tio{};
    tcgetattr(m_slave, &tio);
    return tio;
}

void PtyDevice::HangUp() {
    if (m_master >= 0) {
        close(m_master);
        m_master = -1;
    }
}

std::vector<uint8_t> HandheldPrefix(uint16_t kind) {
    const auto prefix = EncodeFramePrefix(kind, 0);
    return std::vector<uint8_t>(prefix.begin(), prefix.end());
}

} // namespace ksv::testing
