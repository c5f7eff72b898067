#include "link/serial_port.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace ksv {
namespace {

// Errors that mean the device is gone rather than a failed call.
bool IsGone(int err) {
    return err == EIO || err == ENXIO || err == ENODEV || err == EBADF || err == EPIPE;
}

void ConfigureLine(int fd) {
    // A device that is not a terminal (a FIFO in a test rig) keeps its settings.
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        return;
    }
    cfmakeraw(&tio);
    cfsetispeed(&tio, B115200);
    cfsetospeed(&tio, B115200);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &tio);
}

} // namespace

ResultCode SerialPort::Open(const std::string& path, int frameStallMs,
                            std::unique_ptr<SerialPort>& out) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return PlatformError(errno);
    }
    const int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        const int err = errno;
        close(fd);
        return PlatformError(err);
    }
    ioctl(fd, TIOCEXCL); // best effort: no second opener while we hold the port
    ConfigureLine(fd);
    out.reset(new SerialPort(fd, wakeFd, frameStallMs));
    return kSuccess;
}

SerialPort::SerialPort(int fd, int wakeFd, int frameStallMs)
    : m_fd(fd), m_wakeFd(wakeFd), m_frameStallMs(frameStallMs) {}

SerialPort::~SerialPort() {
    ioctl(m_fd, TIOCNXCL);
    close(m_fd);
    close(m_wakeFd);
}

ResultCode SerialPort::ReadBytes(void* buffer, uint32_t length) {
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t copied = 0;
    while (copied < length) {
        {
            std::lock_guard<std::mutex> lock(m_bufferMutex);
            const size_t take = std::min<size_t>(m_end - m_begin, length - copied);
            std::memcpy(out + copied, m_buffer.data() + m_begin, take);
            m_begin += take;
            copied += static_cast<uint32_t>(take);
        }
        if (copied == length) {
            break;
        }
        const ResultCode result = Refill();
        if (result != kSuccess) {
            return result;
        }
    }
    return kSuccess;
}

ResultCode SerialPort::Refill() {
    for (;;) {
        pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        const int ready = poll(fds, 2, m_inFrame ? m_frameStallMs : -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return PlatformError(errno);
        }
        if (ready == 0) {
            return PlatformError(ETIMEDOUT); // the device stopped inside a frame
        }
        if (fds[1].revents != 0 || (fds[0].revents & POLLNVAL) != 0) {
            return kLinkClosed;
        }
        if (fds[0].revents == 0) {
            continue;
        }
        ssize_t count = 0;
        int err = 0;
        {
            std::lock_guard<std::mutex> lock(m_bufferMutex);
            if (m_begin == m_end) {
                m_begin = m_end = 0;
            }
            count = read(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end);
            err = errno;
            if (count > 0) {
                m_end += static_cast<size_t>(count);
                m_received += static_cast<uint64_t>(count);
            }
        }
        if (count > 0) {
            return kSuccess;
        }
        if (count == 0 || IsGone(err)) {
            return kLinkClosed;
        }
        if (err == EAGAIN || err == EINTR) {
            if ((fds[0].revents & (POLLHUP | POLLERR)) != 0) {
                return kLinkClosed;
            }
            continue;
        }
        return PlatformError(err);
    }
}

ResultCode SerialPort::WriteSome(const uint8_t* data, size_t length, size_t* written) {
    *written = 0;
    if (m_woken.load()) {
        return kLinkClosed;
    }
    const ssize_t count = write(m_fd, data, length);
    if (count >= 0) {
        *written = static_cast<size_t>(count);
        return kSuccess;
    }
    if (errno == EAGAIN || errno == EINTR) {
        return kSuccess;
    }
    return IsGone(errno) ? kLinkClosed : PlatformError(errno);
}

ResultCode SerialPort::WaitWritable(int waitMs) {
    pollfd fds[2] = {{m_fd, POLLOUT, 0}, {m_wakeFd, POLLIN, 0}};
    if (poll(fds, 2, waitMs) < 0 && errno != EINTR) {
        return PlatformError(errno);
    }
    return fds[1].revents != 0 ? kLinkClosed : kSuccess;
}

void SerialPort::Wake() {
    m_woken.store(true);
    const uint64_t one = 1;
    const ssize_t ignored = write(m_wakeFd, &one, sizeof one); // cannot fail below 2^64 - 1
    (void)ignored;
}

void SerialPort::Purge(bool receive) {
    tcflush(m_fd, receive ? TCIOFLUSH : TCOFLUSH);
    if (!receive) {
        return;
    }
    std::lock_guard<std::mutex> lock(m_bufferMutex);
    m_begin = m_end = 0;
}

} // namespace ksv
