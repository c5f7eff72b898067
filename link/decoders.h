#pragma once

#include "link/byte_reader.h"
#include "link/device_folder.h"
#include "link/panel_store.h"
#include "link/result_code.h"
#include "platform/device_settings.h"
#include "platform/error_reporter.h"

#include <cstdint>
#include <optional>
#include <string>

namespace ksv {

// Payload decoders of the receive side. Each reads its whole payload from `in`, never trusts a
// count or a length beyond the bytes that have actually arrived, and returns kSuccess, the
// first read failure's code, kWrongKind, or the codes named below.
// Thread contract: run on the receive thread; they read without the store lock and take it only
// for short steps that write what has been read (staged in bounded batches).

struct HelloReply {
    std::optional<std::u16string> deviceName; // unset when the read failed
    bool pingsEnabled = true;
    bool keepPanelOnGoodbye = false;
};

ResultCode DecodeHelloReply(ByteReader& in, uint16_t flags, HelloReply& out);
// Swaps the new list in only when the whole description decoded; otherwise the old panel stays.
// kWrongKind when an oversized image refuses the panel (the user is told, quit requested).
ResultCode DecodePanelDescription(ByteReader& in, PanelStore& store, ErrorReporter& reporter);
// The entries are judged against the store's panel (layout_admission.h): stored, held for
// the next panel, or dropped; the stored ones are committed to the settings file together.
// Past kMaxLayoutEntries the rest are read and dropped; entries skipped or refused by the
// section's bound are counted and reported once.
ResultCode DecodeLayoutEntries(ByteReader& in, PanelStore& store, DeviceSettings& settings,
                               ErrorReporter& reporter);
// Writes the entries held for controls of the panel just swapped in; the rest are dropped.
void StoreHeldLayoutEntries(PanelStore& store, DeviceSettings& settings, ErrorReporter& reporter);

ResultCode ApplyValues(ByteReader& in, PanelStore& store, ErrorReporter& reporter);
ResultCode ApplyStyles(ByteReader& in, PanelStore& store, ErrorReporter& reporter);
ResultCode ApplyMatrixRows(ByteReader& in, PanelStore& store, ErrorReporter& reporter);
// Files land in the device folder of `place` only (see received_files.h), no link followed,
// each through a temporary file renamed into place when complete. A refused name, a file past
// the free reserve or the quota, or a failed write skips that file (its bytes are read past)
// and the message goes on; the first such failure is returned (kFileNotCreated, or a platform
// failure: ENOSPC, EDQUOT, the errno of the write); `why` (when given) receives its cause. The
// store lock is taken only to mark the control and to name its first file, never across a read
// or a write.
ResultCode ReceiveFiles(ByteReader& in, PanelStore& store, ErrorReporter& reporter,
                        const FilesPlace& place, ReportReason* why = nullptr);

} // namespace ksv
