#pragma once

#include <array>
#include <cstdint>

namespace ksv {

// A port runs at this speed unless its entry names another; every earlier setup did.
constexpr uint32_t kDefaultLineSpeed = 115200;

// The speeds offered for a serial port: any rate in this range the driver takes.
constexpr uint32_t kMinLineSpeed = 1200;
constexpr uint32_t kMaxLineSpeed = 921600;

// The termios rates of that range, which every driver knows by their codes.
constexpr std::array<uint32_t, 14> kStandardLineSpeeds = {1200,   1800,   2400,   4800,   9600,
                                                          19200,  38400,  57600,  115200, 230400,
                                                          460800, 500000, 576000, 921600};

// Sets both directions of the terminal `fd` to `baud`: a standard rate through its code, any
// other through the driver's arbitrary-rate support. 0 when the driver then holds that rate
// (within a UART's 3 % tolerance) or `fd` is no terminal at all; otherwise the errno of the
// refusal, EINVAL when the driver kept or rounded to another rate.
int SetLineSpeed(int fd, uint32_t baud);

// The output rate the terminal `fd` holds; 0 when it is no terminal.
uint32_t GetLineSpeed(int fd);

} // namespace ksv
