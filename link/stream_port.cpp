#include "link/stream_port.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace ksv {
namespace {

// Errors that mean the device or the connection is gone rather than a failed call.
bool IsGone(int err) {
    switch (err) {
    case EIO:
    case ENXIO:
    case ENODEV:
    case EBADF:
    case EPIPE:
    case ECONNRESET:
    case ECONNABORTED:
    case ENOTCONN:
    case ETIMEDOUT: // from a read: the connection's keep-alive gave up
    case EHOSTUNREACH:
    case ENETUNREACH:
        return true;
    default:
        return false;
    }
}

} // namespace

StreamPort::StreamPort(int fd, int wakeFd, int frameStallMs)
    : m_fd(fd), m_wakeFd(wakeFd), m_frameStallMs(frameStallMs) {}

StreamPort::~StreamPort() {
    if (m_fd.load() >= 0) {
        close(m_fd.load());
    }
    close(m_wakeFd);
}

int StreamPort::MakeWakeFd() {
    return eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

ResultCode StreamPort::ReadBytes(void* buffer, uint32_t length) {
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

void StreamPort::SetInFrame(bool inFrame) {
    m_inFrame = inFrame;
    m_frameStart = std::chrono::steady_clock::now();
    m_receivedAtFrameStart = m_received.load();
}

int StreamPort::WaitLimitMs() const {
    if (!m_inFrame) {
        return -1;
    }
    if (m_minFrameRate == 0) {
        return m_frameStallMs;
    }
    using std::chrono::milliseconds;
    const int64_t elapsed =
        std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - m_frameStart)
            .count();
    const uint64_t bytes = m_received.load() - m_receivedAtFrameStart;
    const int64_t allowed =
        m_frameStallMs +
        static_cast<int64_t>(std::min<uint64_t>(bytes * 1000 / m_minFrameRate, INT32_MAX));
    return static_cast<int>(std::clamp<int64_t>(allowed - elapsed, 0, m_frameStallMs));
}

ResultCode StreamPort::Refill() {
    const int fd = m_fd.load();
    if (fd < 0) {
        return m_woken.load() ? kLinkClosed : PlatformError(ENOTCONN);
    }
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        const int ready = poll(fds, 2, WaitLimitMs());
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return PlatformError(errno);
        }
        if (ready == 0) {
            return PlatformError(ETIMEDOUT); // the device stopped or dribbles inside a frame
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
            count = read(fd, m_buffer.data() + m_end, m_buffer.size() - m_end);
            err = errno;
            if (count > 0) {
                if (m_tap) {
                    m_tap->OnBytes(TapDirection::kReceived, m_buffer.data() + m_end,
                                   static_cast<size_t>(count));
                }
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

ssize_t StreamPort::WriteRaw(int fd, const uint8_t* data, size_t length) {
    return write(fd, data, length);
}

ResultCode StreamPort::WriteSome(const uint8_t* data, size_t length, size_t* written) {
    *written = 0;
    if (m_woken.load()) {
        return kLinkClosed;
    }
    const int fd = m_fd.load();
    if (fd < 0) {
        return PlatformError(ENOTCONN); // still connecting
    }
    const ssize_t count = WriteRaw(fd, data, length);
    if (count >= 0) {
        *written = static_cast<size_t>(count);
        if (m_tap && count > 0) {
            m_tap->OnBytes(TapDirection::kSent, data, *written);
        }
        return kSuccess;
    }
    if (errno == EAGAIN || errno == EINTR) {
        return kSuccess;
    }
    return IsGone(errno) ? kLinkClosed : PlatformError(errno);
}

ResultCode StreamPort::WaitWritable(int waitMs) {
    pollfd fds[2] = {{m_fd.load(), POLLOUT, 0}, {m_wakeFd, POLLIN, 0}};
    if (poll(fds, 2, waitMs) < 0 && errno != EINTR) {
        return PlatformError(errno);
    }
    return fds[1].revents != 0 ? kLinkClosed : kSuccess;
}

void StreamPort::Wake() {
    m_woken.store(true);
    const uint64_t one = 1;
    const ssize_t ignored = write(m_wakeFd, &one, sizeof one); // cannot fail below 2^64 - 1
    (void)ignored;
}

void StreamPort::Purge(bool receive) {
    if (!receive) {
        return;
    }
    std::lock_guard<std::mutex> lock(m_bufferMutex);
    m_begin = m_end = 0;
}

} // namespace ksv
