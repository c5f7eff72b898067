#pragma once

#include "demo_session.h"
#include "device_port.h"
#include "handheld_frames.h"

#include <ostream>
#include <vector>

namespace ksv::demo {

// The demo device's loop on its port: reads the handheld's frames, runs the session and its
// once-a-second pushes, and survives the handheld closing and reopening the port.
class DemoDevice {
public:
    DemoDevice(DevicePort& port, std::ostream& log);
    ~DemoDevice();
    DemoDevice(const DemoDevice&) = delete;
    DemoDevice& operator=(const DemoDevice&) = delete;

    // Runs until RequestStop; says Goodbye first when a session is open.
    void Run();
    // Safe from a signal handler and from another thread.
    void RequestStop();

private:
    bool WaitForPeer();
    bool StopRequested() const;
    void ReadAvailable();
    bool SendFrame(const DeviceMessage& message);
    void LoseSession();

    DevicePort& m_port;
    std::ostream& m_log;
    DemoSession m_session;
    HandheldFrameParser m_parser;
    int m_stopPipe[2] = {-1, -1};
    bool m_peerPresent = false;
};

} // namespace ksv::demo
