#include "link/tcp_port.h"

#include "link/host_resolver.h"

#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace ksv {
namespace {

using Clock = std::chrono::steady_clock;

// A peer that stops answering is given up after about 10 + 3 × 5 s of silence, or 10 s
// with data unacknowledged.
constexpr int kKeepAliveIdleSeconds = 10;
constexpr int kKeepAliveIntervalSeconds = 5;
constexpr int kKeepAliveProbes = 3;
constexpr unsigned kUnacknowledgedMs = 10000;

// What came of one connect: 0, an errno, or -1 when woken.
constexpr int kConnectWoken = -1;

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

int ConnectWithin(int fd, const SocketAddress& address, int wakeFd, Clock::time_point deadline) {
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address.storage), address.length) == 0) {
        return 0;
    }
    if (errno != EINPROGRESS) {
        return errno;
    }
    pollfd fds[2] = {{fd, POLLOUT, 0}, {wakeFd, POLLIN, 0}};
    int ready = 0;
    do {
        ready = poll(fds, 2, MillisecondsUntil(deadline));
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        return errno;
    }
    if (fds[1].revents != 0) {
        return kConnectWoken;
    }
    if (ready == 0) {
        return ETIMEDOUT;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        return errno;
    }
    return error;
}

// Best effort: a connection without these still works, only slower to notice a dead peer.
void ConfigureConnection(int fd) {
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepAliveIdleSeconds, sizeof(int));
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepAliveIntervalSeconds, sizeof(int));
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &kKeepAliveProbes, sizeof(int));
    setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &kUnacknowledgedMs, sizeof kUnacknowledgedMs);
}

} // namespace

ResultCode TcpPort::Open(const std::string& entry, int frameStallMs, int connectMs,
                         std::unique_ptr<StreamPort>& out) {
    std::optional<TcpAddress> address = ParseTcpAddress(entry);
    if (!address) {
        return PlatformError(EINVAL);
    }
    const int wakeFd = MakeWakeFd();
    if (wakeFd < 0) {
        return PlatformError(errno);
    }
    out.reset(new TcpPort(std::move(*address), wakeFd, frameStallMs, connectMs));
    return kSuccess;
}

TcpPort::TcpPort(TcpAddress address, int wakeFd, int frameStallMs, int connectMs)
    : StreamPort(-1, wakeFd, frameStallMs), m_address(std::move(address)), m_connectMs(connectMs) {}

ResultCode TcpPort::Establish() {
    if (WasWoken()) {
        return kLinkClosed;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_connectMs);
    std::vector<SocketAddress> addresses;
    const ResultCode resolved = ResolveTcpAddress(m_address, WakeFd(), m_connectMs, addresses);
    if (resolved != kSuccess) {
        return resolved;
    }
    int lastError = ETIMEDOUT;
    for (const SocketAddress& address : addresses) {
        if (MillisecondsUntil(deadline) == 0) {
            lastError = ETIMEDOUT;
            break;
        }
        const int fd = socket(address.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        const int result = ConnectWithin(fd, address, WakeFd(), deadline);
        if (result == 0) {
            ConfigureConnection(fd);
            Adopt(fd);
            return kSuccess;
        }
        close(fd);
        if (result == kConnectWoken) {
            return kLinkClosed;
        }
        lastError = result;
    }
    return PlatformError(lastError);
}

ssize_t TcpPort::WriteRaw(int fd, const uint8_t* data, size_t length) {
    return send(fd, data, length, MSG_NOSIGNAL);
}

} // namespace ksv
