#include "tests/support/pty_device.h"

#include "link/frame.h"
#include "link/line_speed.h"

#include <cerrno>
#include <filesystem>
#include <pty.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace ksv::testing {
PtyDevice::PtyDevice(int portNumber) : m_portNumber(portNumber) {
    char name[256] = {};
    // The slave starts with the driver's cooked defaults: opening the port must make it raw.
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    m_slavePath = name;
    m_root = MakeDeviceRoot("ksv-pty-");
    const std::filesystem::path ports = std::filesystem::path(m_root) / "ports";
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
    return ReadExactly(m_master, length, deadline);
}

size_t PtyDevice::Drain(std::chrono::milliseconds quiet) {
    return DrainFd(m_master, quiet);
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

termios PtyDevice::DeviceSideSettings() const {
    termios tio{};
    tcgetattr(m_master, &tio);
    return tio;
}

uint32_t PtyDevice::DeviceSideSpeed() const {
    return GetLineSpeed(m_master);
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
