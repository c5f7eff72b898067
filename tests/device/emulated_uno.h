#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>

namespace ksv::device_testing {

// The Uno example built with avr-gcc and running in qemu-system-avr, its USART0 on a
// pseudo-terminal. Stopped (the process we started, by its id) when destroyed.
class EmulatedUno {
public:
    EmulatedUno() = default;
    ~EmulatedUno();
    EmulatedUno(const EmulatedUno&) = delete;
    EmulatedUno& operator=(const EmulatedUno&) = delete;

    // Empty when the tools are there; otherwise what is missing (the test is skipped).
    static std::string MissingTools();
    // Builds the firmware into `outDir`, starts the emulator and waits until the firmware
    // answers on its serial port (the emulator only notices an opened pseudo-terminal after a
    // while and drops what the firmware writes until then); false with `error` set.
    bool Start(const std::string& sourceDir, const std::string& outDir, std::string& error,
               std::chrono::seconds deadline = std::chrono::seconds(20));
    const std::string& SerialPath() const { return m_serialPath; }

private:
    bool Handshake(std::chrono::seconds deadline, std::string& error);

    pid_t m_pid = -1;
    int m_line = -1;   // kept open (never read after the handshake) so the line stays up
    int m_output = -1; // the emulator's stdout and stderr
    std::string m_serialPath;
};

} // namespace ksv::device_testing
