#pragma once

#include "link/link_limits.h"
#include "link/link_tap.h"
#include "link/panel_store.h"
#include "link/port_path.h"
#include "link/result_code.h"
#include "platform/device_settings.h"
#include "platform/error_reporter.h"
#include "platform/settings_store.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ksv {

// Told by the receive thread that a run has ended and GetArrivalCode() is set.
// Thread contract: called on the receive thread without the store lock; must not block
// (post to the GUI thread and return).
class ArrivalSink {
public:
    virtual ~ArrivalSink() = default;
    virtual void PostArrival() = 0;
    // The port went away under the run (a hang-up, a closed connection, a connect that
    // failed) and not by ClosePort; the run posts no arrival. `reason` is kLinkClosed or a
    // result as OpenPort gives it. Same contract as PostArrival.
    virtual void PostLinkLost(ResultCode /*reason*/) {}
    // A sink that takes arrivals in batches: the receive thread reads on past the frames whose
    // codes fold together (Link::TakeArrivals) and posts once until the sink takes them.
    // Otherwise every run posts and waits for StartReceiver.
    virtual bool ReceivesAhead() const { return false; }
};

// The serial link to the device: one port, one receive run at a time, the store and its lock.
//
// Thread contract:
// - LinkInit, LinkTerm, OpenPort, StartReceiver, Disconnect, ClosePort, ResetLink: GUI thread
//   (ClosePort and StartReceiver also from inside an ArrivalSink post). Never destroy the Link
//   from inside a post.
// - Send* and WriteBytes: any thread, never while holding a StoreLock. Frames are serialised by
//   the link's own write lock, not the store lock, and each write is bounded (LinkLimits): the
//   caller waits at most about frameWriteMs, never on a stalled receive.
// - The receive thread runs one frame per StartReceiver and posts to the sink once: an arrival,
//   or PostLinkLost when the port went away by itself (nothing after our own ClosePort). It
//   reads without the store lock and takes it only for short steps.
// - Getters may be called from any thread.
//
// Results are the codes of result_code.h as the platform reports them: a failed platform call
// gives its errno, and GetLastPlatformError tells it apart from the link's own codes.
class Link {
public:
    Link(SettingsStore& settings, ErrorReporter& reporter, LinkPaths paths = DefaultLinkPaths(),
         LinkLimits limits = LinkLimits());
    ~Link(); // LinkTerm
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    ResultCode LinkInit(); // 0; a second call does nothing
    ResultCode LinkTerm(); // closes an open port; 0

    // kAlreadyOpen with a port open (it stays untouched), kNotInitialised before LinkInit,
    // kSpeedRefused when the driver does not take the entry's speed, the errno of a failed open
    // (EBUSY when another program holds the device, EINVAL for a malformed TCP entry), nothing
    // having been sent in each of these cases; otherwise starts a receive
    // run and returns the Hello's result. A TCP device is connected by that run, which then
    // says Hello itself (a failure reaches the sink as PostLinkLost); OpenPort then gives 0.
    ResultCode OpenPort(int portNumber, ArrivalSink* notifyWindow);
    // 0; kNoPort without a port. For a sink that receives ahead it resumes a thread that waits
    // for the sink and does nothing while one reads on.
    ResultCode StartReceiver(ArrivalSink* notifyWindow);
    // Shows the traffic of every port opened from now on to `tap` (null: none). GUI thread,
    // while no port is open; the tap outlives the link.
    void SetTap(LinkTap* tap);
    // kNoPort; a Goodbye that cannot be written returns the write's result and leaves the port
    // open; otherwise ClosePort's 0.
    ResultCode Disconnect(bool sendGoodbye);
    // Goodbye within `goodbyeMs` at the most (waiting for the write lock included), then
    // ClosePort whatever became of it: for leaving at once. kNoPort without a port or a
    // connection, else the Goodbye's result.
    ResultCode DisconnectWithin(int goodbyeMs);
    // Wakes the port before taking any lock, waits for the receive run (it ends at once) and
    // empties the store; 0.
    ResultCode ClosePort();
    ResultCode ResetLink(); // purge, then Hello; the Hello's result (kNoPort without a port)

    int32_t GetArrivalCode() const; // of the last run
    // For a sink that receives ahead: the codes of the runs since the last call, oldest first,
    // an equal code repeated in a row told once (ArrivalQueue); at most ArrivalQueue::kCapacity.
    std::vector<int32_t> TakeArrivals();
    std::optional<std::u16string> GetDeviceName() const; // unset after a failed HelloReply
    bool IsPingEnabled() const;
    bool IsKeepPanelOnGoodbye() const;
    bool IsPortOpen() const;
    // The errno of the last platform call that failed on the calling thread (0 before any).
    int GetLastPlatformError() const;
    // Bytes read off the open port since it was opened (0 without a port).
    uint64_t BytesReceived() const;

    // Raw port access. WriteBytes: kNoPort, kWriteGaveUp (the transmit side purged), kLinkClosed
    // or errno; every send goes through it (patience 5; Goodbye 6). ReadBytes (receive thread
    // only): kLinkClosed without a port or after a hang-up, or errno.
    ResultCode WriteBytes(const void* buffer, uint32_t length, uint32_t patience);
    ResultCode ReadBytes(void* buffer, uint32_t length);

    // Each gives the write's result; kNoPort without a port.
    ResultCode SendHello();
    ResultCode SendPingReply();
    ResultCode SendAcknowledge();
    ResultCode SendLayoutRequest(uint32_t argument);
    ResultCode SendPing(); // kPingUnanswered when the previous ping had no reply
    // Every marked control in one Values frame; kNotApplicable when a kind cannot be encoded.
    ResultCode SendChangedValues();
    ResultCode SendImmediateByte(uint32_t id, uint32_t value); // 0, sending nothing, for no id
    // 0 whatever the write did (as for any report); kNotApplicable for a control that is not a
    // password, or an empty new password.
    ResultCode SendPassword(uint32_t id, const std::u16string& password);
    ResultCode SendPasswordChange(uint32_t id, const std::u16string& currentPassword,
                                  const std::u16string& newPassword);
    ResultCode SendLogOut(uint32_t id);

    PanelStore& Store();
    DeviceSettings& Settings(); // the connected device's section
    const LinkPaths& Paths() const;

private:
    // The password operations: the record's two strings go out in one Values frame.
    ResultCode SendPasswordReport(uint32_t id, const std::u16string& first,
                                  const std::u16string& second);

    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace ksv
