#include "tests/support/tcp_device.h"

#include <arpa/inet.h>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace ksv::testing {
namespace {

// True when the peer has closed the connection: it reads as end of file.
bool PeerClosed(int fd) {
    uint8_t byte = 0;
    return recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

void CloseFd(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

} // namespace

TcpDevice::TcpDevice(int portNumber) : m_portNumber(portNumber) {
    m_root = MakeDeviceRoot("ksv-tcp-");
    Listen(0);
    std::ofstream(m_root + "/ports/COM" + std::to_string(portNumber))
        << "tcp://127.0.0.1:" << m_tcpPort << "\n";
}

TcpDevice::~TcpDevice() {
    HangUp();
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

LinkPaths TcpDevice::Paths() const {
    return LinkPaths{m_root + "/ports", m_root + "/files"};
}

void TcpDevice::Listen(uint16_t port) {
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(m_listener, 4) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot listen on loopback");
    }
    m_tcpPort = ntohs(address.sin_port);
}

bool TcpDevice::Accept(int waitMs) {
    if (m_listener < 0) {
        return false;
    }
    pollfd entry{m_listener, POLLIN, 0};
    if (poll(&entry, 1, waitMs) <= 0) {
        return false;
    }
    const int accepted = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (accepted < 0) {
        return false;
    }
    // Frames go out as written, as a device's would; only the link is measured.
    const int on = 1;
    setsockopt(accepted, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    CloseFd(m_connection);
    m_connection = accepted;
    ++m_connections;
    return true;
}

bool TcpDevice::WaitConnected(std::chrono::milliseconds deadline) {
    Accept(0);
    return m_connection >= 0 || Accept(static_cast<int>(deadline.count()));
}

void TcpDevice::Write(const std::vector<uint8_t>& bytes) {
    if (!WaitConnected()) {
        throw std::runtime_error("no connection to write to");
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count =
            send(m_connection, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (count < 0 && errno != EINTR && errno != EAGAIN) {
            throw std::runtime_error("tcp write failed");
        }
        done += count > 0 ? static_cast<size_t>(count) : 0;
    }
    m_written += bytes.size();
}

std::optional<std::vector<uint8_t>> TcpDevice::Read(size_t length,
                                                    std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (!WaitConnected(std::chrono::milliseconds(RemainingMs(end)))) {
            return std::nullopt;
        }
        auto bytes = ReadExactly(m_connection, length, std::chrono::milliseconds(RemainingMs(end)));
        if (bytes || !PeerClosed(m_connection) || RemainingMs(end) == 0) {
            return bytes;
        }
        // The client ended that connection; what it says next comes on its new one.
        CloseFd(m_connection);
    }
}

size_t TcpDevice::Drain(std::chrono::milliseconds quiet) {
    Accept(0);
    return m_connection < 0 ? 0 : DrainFd(m_connection, quiet);
}

void TcpDevice::HangUp() {
    CloseFd(m_connection);
    CloseFd(m_listener);
}

void TcpDevice::LimitReceiveBuffer(int bytes) {
    setsockopt(m_listener, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

void TcpDevice::ComeBack() {
    if (m_listener < 0) {
        Listen(m_tcpPort);
    }
}

} // namespace ksv::testing
