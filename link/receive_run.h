#pragma once

#include "link/byte_reader.h"
#include "link/decoders.h"
#include "link/device_folder.h"
#include "link/panel_store.h"
#include "platform/device_settings.h"
#include "platform/error_reporter.h"

#include <cstdint>
#include <string>

namespace ksv {

// What a receive run needs from the link around the decoders.
//
// Thread contract: called on the receive thread, never with the store lock held by the run
// itself (the senders take it).
class ReceiveHost {
public:
    virtual ~ReceiveHost() = default;
    virtual void SendPingReply() = 0;
    virtual void SendAcknowledge() = 0;
    virtual void OnPingReply() = 0;                         // clears the outstanding ping
    virtual void OnHelloReply(const HelloReply& reply) = 0; // name and connection flags
    virtual FilesPlace FilesFolder() = 0;                   // where a FileTransfer writes
};

struct ReceiveContext {
    PanelStore& store;
    ErrorReporter& reporter;
    DeviceSettings& settings;
    ReceiveHost& host;
};

// How a run ended: `post` false means the port went away and the view is not told.
struct RunOutcome {
    bool post = false;
    int32_t arrivalCode = kArrivalNone;
};

// One run: hunts for the marker (bytes before it are dropped), reads the header, checks the
// kind and dispatches the payload. Failures are reported here with their value (a platform
// failure with its errno). From the marker on, `in` is told it reads inside a frame.
RunOutcome ReceiveOneMessage(ByteReader& in, ReceiveContext& context);

} // namespace ksv
