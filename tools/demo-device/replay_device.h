#pragma once

#include "device_port.h"
#include "handheld_frames.h"
#include "replay_script.h"

#include <chrono>
#include <ostream>

namespace ksv::demo {

// Plays the device's side of a recording on the port: starts when the client's Hello arrives,
// sends each chunk at its recorded time (divided by `speed`), and reads and drops what the
// client sends. Once played through, the next Hello plays it again, as does a new client.
class ReplayDevice {
public:
    ReplayDevice(DevicePort& port, ReplayScript script, double speed, std::ostream& log);
    ~ReplayDevice();
    ReplayDevice(const ReplayDevice&) = delete;
    ReplayDevice& operator=(const ReplayDevice&) = delete;

    // Runs until RequestStop.
    void Run();
    // Safe from a signal handler and from another thread.
    void RequestStop();

private:
    using Clock = std::chrono::steady_clock;

    bool WaitForPeer();
    bool StopRequested() const;
    void ReadAvailable();
    void SendDue();
    int MillisecondsToNext() const;
    Clock::time_point DueAt(const ReplayChunk& chunk) const;

    DevicePort& m_port;
    ReplayScript m_script;
    double m_speed;
    std::ostream& m_log;
    HandheldFrameParser m_parser;
    int m_stopPipe[2] = {-1, -1};
    bool m_peerPresent = false;
    bool m_playing = false;
    size_t m_next = 0;
    Clock::time_point m_start;
};

} // namespace ksv::demo
