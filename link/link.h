#pragma once

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

namespace ksv {

// Told by the receive thread that a run has ended and GetArrivalCode() is set.
// Thread contract: called on the receive thread without the store lock; must not block
// (post to the GUI thread and return).
class ArrivalSink {
public:
    virtual ~ArrivalSink() = default;
    virtual void PostArrival() = 0;
};

// The serial link to the device: one port, one receive run at a time, the store and its lock.
//
// Thread contract:
// - LinkInit, LinkTerm, OpenPort, StartReceiver, Disconnect, ClosePort, ResetLink: GUI thread.
// - Send*: any thread; each frame is written whole under the store lock.
// - The receive thread runs one frame per StartReceiver and posts to the sink once, except
//   when the port went away (kLinkClosed), when it ends silently.
// - Getters may be called from any thread.
class Link {
public:
    Link(SettingsStore& settings, ErrorReporter& reporter, LinkPaths paths = DefaultLinkPaths());
    ~Link(); // LinkTerm
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    ResultCode LinkInit(); // 0; a second call does nothing
    ResultCode LinkTerm(); // closes an open port

    // kAlreadyOpen with a port open (it stays untouched), kNotInitialised before LinkInit,
    // the errno of a failed open; otherwise starts a receive run and returns the Hello's result.
    ResultCode OpenPort(int portNumber, ArrivalSink* notifyWindow);
    ResultCode StartReceiver(ArrivalSink* notifyWindow); // kNoPort without a port
    ResultCode Disconnect(bool sendGoodbye); // kNoPort; a failed Goodbye leaves the port open
    ResultCode ClosePort();                  // wakes and waits for the receive run; 0
    ResultCode ResetLink();                  // purge, then Hello; the Hello's result

    int32_t GetArrivalCode() const;
    std::optional<std::u16string> GetDeviceName() const; // unset after a failed HelloReply
    bool IsPingEnabled() const;
    bool IsKeepPanelOnGoodbye() const;
    bool IsPortOpen() const;

    // Raw port access: kNoPort, kWriteGaveUp (after purging the transmit side), kLinkClosed,
    // or errno. Every send goes through WriteBytes (patience 5; Goodbye 6).
    ResultCode WriteBytes(const void* buffer, uint32_t length, uint32_t patience);
    ResultCode ReadBytes(void* buffer, uint32_t length);

    ResultCode SendHello();
    ResultCode SendPingReply();
    ResultCode SendAcknowledge();
    ResultCode SendLayoutRequest(uint32_t argument);
    ResultCode SendPing(); // kPingUnanswered when the previous ping had no reply
    ResultCode SendChangedValues();
    ResultCode SendImmediateByte(uint32_t id, uint32_t value);
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
