#pragma once

#include "link/arrival_queue.h"
#include "link/device_folder.h"
#include "link/frame_capture.h"
#include "link/link.h"
#include "link/receive_run.h"
#include "link/receive_worker.h"
#include "link/stream_port.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace ksv {

// The link's state, shared by its lifecycle (link.cpp) and its senders (link_send.cpp).
//
// Locks, never held across a wait on the device: `lifecycleMutex` guards opening and closing;
// `writeMutex` serialises frames on the wire (taken before the store lock where both are
// needed); `nameMutex` guards the device name.
struct Link::State : ReceiveHost {
    State(Link& owner, SettingsStore& settingsStore, ErrorReporter& reporter, LinkPaths paths,
          LinkLimits limits);

    // ReceiveHost: the receive thread's side of the link.
    // The frame being answered is told to the tap before the answer.
    void SendPingReply() override {
        capture.Flush();
        owner.SendPingReply();
    }
    void SendAcknowledge() override {
        capture.Flush();
        owner.SendAcknowledge();
    }
    void OnPingReply() override { pingPending = false; }
    void OnHelloReply(const HelloReply& reply) override;
    FilesPlace FilesFolder() override;

    std::optional<std::u16string> Name() const;

    // One frame, whole, within its budget; the caller holds writeMutex. An internal result.
    ResultCode WriteLocked(const std::vector<uint8_t>& frame, uint32_t patience);
    // One receive run on the open port (connecting it first if need be), then the post.
    void RunOnce(StreamPort& reader, ArrivalSink* sink);
    // A port that went away under the run, not by our own close, is told to the sink.
    void TellLinkLost(const StreamPort& reader, ArrivalSink* sink, ResultCode reason);

    Link& owner;
    ErrorReporter& reporter;
    LinkPaths paths;
    LinkLimits limits;
    PanelStore store;
    DeviceSettings deviceSettings;

    std::atomic<bool> initialised{false};
    std::atomic<bool> portOpen{false};
    bool closing = false; // ClosePort is stopping the worker; with lifecycleMutex
    std::mutex lifecycleMutex;
    std::mutex writeMutex;
    // Set with lifecycleMutex and writeMutex held; reset the same way once the worker has
    // stopped. Writers use it under writeMutex, the worker through its own reference.
    std::unique_ptr<StreamPort> port;

    mutable std::mutex nameMutex;
    std::optional<std::u16string> deviceName;
    std::atomic<bool> pingPending{false};
    std::atomic<bool> pingsEnabled{false};
    std::atomic<bool> keepPanelOnGoodbye{false};
    std::atomic<int32_t> arrivalCode{kArrivalNone};
    LinkTap* tap = nullptr; // set before the first OpenPort
    FrameCapture capture;   // receive thread only
    ArrivalQueue arrivals; // for a sink that receives ahead

    ReceiveWorker worker; // last: its threads end before anything above goes
};

inline constexpr uint32_t kGoodbyePatience = 6;

// A whole frame in one buffer: it goes out in one write and cannot interleave.
std::vector<uint8_t> Frame(uint16_t kind, const std::vector<uint8_t>& payload = {});

} // namespace ksv
