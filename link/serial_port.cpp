#include "link/serial_port.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace ksv {
namespace {

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
                            std::unique_ptr<StreamPort>& out) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return PlatformError(errno);
    }
    const int wakeFd = MakeWakeFd();
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
    : StreamPort(fd, wakeFd, frameStallMs) {}

SerialPort::~SerialPort() {
    ioctl(Fd(), TIOCNXCL);
}

void SerialPort::Purge(bool receive) {
    tcflush(Fd(), receive ? TCIOFLUSH : TCOFLUSH);
    StreamPort::Purge(receive);
}

} // namespace ksv
