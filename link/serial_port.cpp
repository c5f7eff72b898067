#include "link/serial_port.h"

#include "link/line_speed.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

ResultCode SerialPort::Open(const std::string& path, uint32_t speed, int frameStallMs,
                            std::unique_ptr<StreamPort>& out) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return PlatformError(errno);
    }
    // The lock stops every program that locks as well, root included; TIOCEXCL the others.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno == EWOULDBLOCK ? EBUSY : errno;
        close(fd);
        return PlatformError(err);
    }
    ConfigureLine(fd);
    if (SetLineSpeed(fd, speed) != 0) {
        close(fd);
        return kSpeedRefused;
    }
    const int wakeFd = MakeWakeFd();
    if (wakeFd < 0) {
        const int err = errno;
        close(fd);
        return PlatformError(err);
    }
    ioctl(fd, TIOCEXCL);
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
