#pragma once

namespace ksv::demo {

// The demo device's end of the way to the handheld: a pseudo-terminal or a TCP listener.
class DevicePort {
public:
    virtual ~DevicePort() = default;
    // The non-blocking descriptor the handheld is read and written on while it is there.
    virtual int Fd() const = 0;
    // Whether a handheld is there now (a TCP port takes a waiting connection); after it has
    // gone this is false at least once, so that the session can end before the next begins.
    virtual bool PeerPresent() = 0;
    // Drop whatever is queued either way (after a hang-up, so a new peer starts clean).
    virtual void Flush() = 0;
};

} // namespace ksv::demo
