#include "link/chunked_read.h"
#include "link/decoders.h"
#include "link/field_block.h"
#include "link/frame.h"
#include "link/panel_budget.h"
#include "link/record_decoders.h"
#include "platform/ansi_codepage.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ksv {

// The panel is built in a staging list that grows record by record as the bytes arrive, and
// is swapped in whole; a description that breaks off or passes the panel budget leaves the old
// panel in place. A refused description is not read further: the next run resynchronises.
ResultCode DecodePanelDescription(ByteReader& in, PanelStore& store, ErrorReporter& reporter) {
    uint32_t count = 0;
    ResultCode rc = ReadU32(in, count);
    if (rc != kSuccess) {
        return rc;
    }
    if (count > kMaxPanelRecords) {
        return kPanelTooLarge;
    }
    PanelBudget budget;
    std::vector<ControlRecord> staging;
    std::vector<uint8_t> bytes;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        rc = ReadU32(in, length);
        if (rc == kSuccess && !budget.Fits(length)) {
            return kPanelTooLarge;
        }
        if (rc == kSuccess) {
            rc = ReadChunked(in, length, bytes);
        }
        if (rc != kSuccess) {
            return rc;
        }
        ControlRecord record;
        if (!DecodeControlRecord(bytes.data(), bytes.size(), record, reporter)) {
            return kWrongKind;
        }
        if (!budget.Charge(RecordHeldBytes(record))) {
            return kPanelTooLarge;
        }
        staging.push_back(std::move(record));
    }
    store.ReplaceControls(std::move(staging));
    return kSuccess;
}

ResultCode DecodeHelloReply(ByteReader& in, uint16_t flags, HelloReply& out) {
    out.deviceName.reset();
    out.pingsEnabled = (flags & kHelloPingsOff) == 0;
    uint32_t length = 0;
    std::vector<uint8_t> bytes;
    ResultCode rc = ReadU32(in, length);
    if (rc == kSuccess) {
        rc = ReadChunked(in, length, bytes);
    }
    if (rc != kSuccess) {
        return rc;
    }
    std::u16string name = (flags & kHelloWideName) ? WideFromBytes(bytes.data(), bytes.size())
                                                   : AnsiToWide(bytes.data(), bytes.size());
    // The name is used as a NUL-terminated string (window title, settings section).
    name.resize(std::min(name.size(), name.find(u'\0')));
    out.deviceName = std::move(name);
    out.keepPanelOnGoodbye = (flags & kHelloKeepPanel) != 0;
    rc = ReadU32(in, length);
    if (rc != kSuccess) {
        return rc;
    }
    return SkipBytes(in, length);
}

namespace {

constexpr uint32_t kLayoutEntrySize = 12;

ResultCode SkipLayoutEntries(ByteReader& in, uint32_t count) {
    constexpr uint32_t kPerRead = kReadChunk / kLayoutEntrySize;
    while (count > 0) {
        const uint32_t now = std::min(count, kPerRead);
        const ResultCode rc = SkipBytes(in, now * kLayoutEntrySize);
        if (rc != kSuccess) {
            return rc;
        }
        count -= now;
    }
    return kSuccess;
}

} // namespace

ResultCode DecodeLayoutEntries(ByteReader& in, PanelStore& store, DeviceSettings& settings,
                               ErrorReporter& reporter) {
    uint32_t count = 0;
    ResultCode rc = ReadU32(in, count);
    if (rc != kSuccess) {
        return rc;
    }
    const uint32_t accepted = std::min(count, kMaxLayoutEntries);
    // Entries read before a break are still applied.
    std::vector<LayoutSetting> read;
    for (uint32_t i = 0; i < accepted && rc == kSuccess; ++i) {
        uint8_t entry[kLayoutEntrySize];
        rc = in.ReadBytes(entry, sizeof entry);
        if (rc == kSuccess) {
            read.push_back(
                {GetU32(entry), GetU32(entry + 4), static_cast<int32_t>(GetU32(entry + 8))});
        }
    }
    std::vector<LayoutSetting> held;
    const size_t refused = StoreLayoutSettings(read, store.GetControlKinds(), settings, &held);
    store.HoldLayoutSettings(held);
    if (rc == kSuccess && accepted < count) {
        rc = SkipLayoutEntries(in, count - accepted);
    }
    const size_t skipped = refused + (count - accepted);
    if (skipped > 0) {
        KSV_REPORT(reporter, kLinkModule, static_cast<long>(skipped), LayoutEntriesSkipped);
    }
    return rc;
}

void StoreHeldLayoutEntries(PanelStore& store, DeviceSettings& settings, ErrorReporter& reporter) {
    const std::vector<LayoutSetting> held = store.TakeHeldLayoutSettings();
    if (held.empty()) {
        return;
    }
    const size_t refused = StoreLayoutSettings(held, store.GetControlKinds(), settings, nullptr);
    if (refused > 0) {
        KSV_REPORT(reporter, kLinkModule, static_cast<long>(refused), LayoutEntriesSkipped);
    }
}

} // namespace ksv
