// The kernel's own termios2 interface: glibc's <termios.h> knows only the rate codes, so this
// file must not include it.
#include "link/line_speed.h"

#include <asm/termbits.h>
#include <cerrno>
#include <cstdlib>
#include <sys/ioctl.h>

namespace ksv {
namespace {

struct RateCode {
    uint32_t baud;
    tcflag_t code;
};

constexpr RateCode kRateCodes[] = {
    {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},     {9600, B9600},
    {19200, B19200},   {38400, B38400},   {57600, B57600},   {115200, B115200}, {230400, B230400},
    {460800, B460800}, {500000, B500000}, {576000, B576000}, {921600, B921600}};

static_assert(sizeof(kRateCodes) / sizeof(kRateCodes[0]) == kStandardLineSpeeds.size(),
              "every offered standard rate has its code");

tcflag_t CodeOf(uint32_t baud) {
    for (const RateCode& rate : kRateCodes) {
        if (rate.baud == baud) {
            return rate.code;
        }
    }
    return BOTHER;
}

bool WithinTolerance(uint32_t actual, uint32_t wanted) {
    const uint64_t difference = actual > wanted ? actual - wanted : wanted - actual;
    return difference * 100 <= static_cast<uint64_t>(wanted) * 3;
}

} // namespace

int SetLineSpeed(int fd, uint32_t baud) {
    termios2 tio{};
    if (ioctl(fd, TCGETS2, &tio) != 0) {
        return errno == ENOTTY ? 0 : errno;
    }
    if (baud == 0) {
        return EINVAL; // B0 would hang the line up
    }
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= CodeOf(baud); // input follows output
    tio.c_ispeed = baud;
    tio.c_ospeed = baud;
    if (ioctl(fd, TCSETS2, &tio) != 0) {
        return errno;
    }
    return WithinTolerance(GetLineSpeed(fd), baud) ? 0 : EINVAL;
}

uint32_t GetLineSpeed(int fd) {
    termios2 tio{};
    if (ioctl(fd, TCGETS2, &tio) != 0) {
        return 0;
    }
    return tio.c_ospeed;
}

} // namespace ksv
