#pragma once

#include "link/panel_store.h"
#include "link/result_code.h"
#include "platform/error_reporter.h"

#include <cstdint>
#include <vector>

namespace ksv {

// Payload of a Values frame (kind 7) for every record marked toSend: the count, then the
// entries in list order. Clears each toSend as its entry is encoded and resets a button's
// pressState. A kind that cannot be encoded is reported, ends the payload there and gives
// kNotApplicable (the count then exceeds the entries, as on the wire).
// The caller holds the store lock.
ResultCode EncodeChangedValues(PanelStore& store, ErrorReporter& reporter,
                               std::vector<uint8_t>& payload);

} // namespace ksv
