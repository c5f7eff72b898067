#include "tcp_listen_port.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ksv::demo {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

std::string FirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// An entry this program may take over: a link (a pty run) or a TCP entry of an earlier run.
bool IsReplaceable(const std::string& entry) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(entry, error);
    if (!fs::exists(status) || fs::is_symlink(status)) {
        return true;
    }
    return fs::is_regular_file(status) && FirstLine(entry).rfind("tcp://", 0) == 0;
}

} // namespace

TcpListenPort::TcpListenPort(const std::string& host, uint16_t port, int portNumber,
                             const std::string& portsFolder) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
        errno = EINVAL;
        Fail("listen address " + host);
    }
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_listener < 0) {
        Fail("socket");
    }
    try {
        const int on = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(m_listener, 1) != 0 ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            Fail("listen on " + host + ":" + std::to_string(port));
        }
        m_address = "tcp://" + host + ":" + std::to_string(ntohs(address.sin_port));
        Register(portsFolder, portNumber);
    } catch (...) {
        ::close(m_listener);
        throw;
    }
}

TcpListenPort::~TcpListenPort() {
    if (!m_entryPath.empty() && FirstLine(m_entryPath) == m_address) {
        std::error_code error;
        std::filesystem::remove(m_entryPath, error);
    }
    if (m_connection >= 0) {
        ::close(m_connection);
    }
    ::close(m_listener);
}

void TcpListenPort::Register(const std::string& portsFolder, int portNumber) {
    std::error_code error;
    std::filesystem::create_directories(portsFolder, error);
    const std::string entry = portsFolder + "/COM" + std::to_string(portNumber);
    if (!IsReplaceable(entry)) {
        errno = EEXIST;
        Fail(entry + " exists and is not a device entry; not replacing it");
    }
    std::filesystem::remove(entry, error);
    std::ofstream file(entry);
    file << m_address << "\n";
    if (!file.flush()) {
        Fail("write " + entry);
    }
    m_entryPath = entry;
}

// A handheld that said Goodbye and closed at once is read to the end first.
bool TcpListenPort::ConnectionAlive() const {
    int unread = 0;
    if (::ioctl(m_connection, FIONREAD, &unread) == 0 && unread > 0) {
        return true;
    }
    pollfd entry{m_connection, POLLIN | POLLRDHUP, 0};
    if (::poll(&entry, 1, 0) < 0) {
        return false;
    }
    return (entry.revents & (POLLHUP | POLLERR | POLLRDHUP | POLLNVAL)) == 0;
}

void TcpListenPort::TakeWaitingConnection() {
    const int accepted = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (accepted < 0) {
        return;
    }
    const int on = 1;
    ::setsockopt(accepted, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    m_connection = accepted;
}

bool TcpListenPort::PeerPresent() {
    if (m_connection >= 0) {
        if (ConnectionAlive()) {
            return true;
        }
        // Gone: said once before a new connection is taken.
        ::close(m_connection);
        m_connection = -1;
        return false;
    }
    TakeWaitingConnection();
    return m_connection >= 0;
}

ssize_t TcpListenPort::Write(const uint8_t* data, size_t length) {
    return ::send(m_connection, data, length, MSG_NOSIGNAL);
}

void TcpListenPort::Flush() {
    if (m_connection >= 0) {
        ::close(m_connection);
        m_connection = -1;
    }
}

} // namespace ksv::demo
