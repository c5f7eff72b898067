#pragma once

#include "device_port.h"

#include <string>

namespace ksv::demo {

// The device's end of a pseudo-terminal, registered as "COM<n>:" by a link in the ports folder.
// The link is removed again when the port is destroyed (if it still points at this terminal).
class PtyPort : public DevicePort {
public:
    // Throws std::runtime_error when the terminal cannot be made or the name is taken by
    // something that is not a link.
    PtyPort(int portNumber, const std::string& portsFolder);
    ~PtyPort() override;
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    int MasterFd() const { return m_master; }
    int Fd() const override { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }
    const std::string& LinkPath() const { return m_linkPath; }

    // Whether a program has the terminal open now (no hang-up on our end).
    bool PeerPresent() override;
    void Flush() override;

private:
    void MakeSlaveRaw() const;
    void Register(const std::string& portsFolder, int portNumber);

    int m_master = -1;
    std::string m_slavePath;
    std::string m_linkPath;
};

} // namespace ksv::demo
