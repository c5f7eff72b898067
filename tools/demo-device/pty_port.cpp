#include "pty_port.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace ksv::demo {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

} // namespace

PtyPort::PtyPort(int portNumber, const std::string& portsFolder) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) {
        Fail("posix_openpt");
    }
    try {
        if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            Fail("unlockpt");
        }
        const char* name = ::ptsname(m_master);
        if (!name) {
            Fail("ptsname");
        }
        m_slavePath = name;
        MakeSlaveRaw();
        Register(portsFolder, portNumber);
    } catch (...) {
        ::close(m_master);
        throw;
    }
}

PtyPort::~PtyPort() {
    std::error_code error;
    if (!m_linkPath.empty() && std::filesystem::read_symlink(m_linkPath, error) == m_slavePath) {
        std::filesystem::remove(m_linkPath, error);
    }
    ::close(m_master);
}

// The slave starts in cooked mode with echo on; a frame the device writes before the handheld
// configures its end would otherwise come straight back. The setting outlives this open.
void PtyPort::MakeSlaveRaw() const {
    const int slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        Fail("open " + m_slavePath);
    }
    termios settings{};
    if (::tcgetattr(slave, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::cfsetspeed(&settings, B115200);
        ::tcsetattr(slave, TCSANOW, &settings);
    }
    ::close(slave);
}

void PtyPort::Register(const std::string& portsFolder, int portNumber) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(portsFolder, error);
    const std::string link = portsFolder + "/COM" + std::to_string(portNumber);
    const fs::file_status status = fs::symlink_status(link, error);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        errno = EEXIST;
        Fail(link + " exists and is not a link; not replacing it");
    }
    fs::remove(link, error); // a link left by an earlier run
    if (::symlink(m_slavePath.c_str(), link.c_str()) != 0) {
        Fail("symlink " + link);
    }
    m_linkPath = link;
}

bool PtyPort::PeerPresent() {
    pollfd entry{m_master, POLLIN, 0};
    if (::poll(&entry, 1, 0) < 0) {
        return false;
    }
    return (entry.revents & (POLLHUP | POLLERR)) == 0;
}

void PtyPort::Flush() {
    ::tcflush(m_master, TCIOFLUSH);
}

} // namespace ksv::demo
