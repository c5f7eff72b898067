#pragma once

#include "link/byte_reader.h"
#include "link/chunked_read.h"
#include "link/panel_store.h"
#include "link/result_code.h"

#include <cstddef>
#include <functional>
#include <optional>

namespace ksv {

// How one kind of update message (Values, StyleUpdate, MatrixRows) treats its entries.
struct EntryRules {
    // Bytes of an entry the record can use, or nothing to read the entry past (no such
    // control). Called under the store lock.
    std::function<std::optional<size_t>(const ControlRecord* record)> keep;
    // Writes one entry into its record under the store lock; a failure ends the message.
    std::function<ResultCode(ControlRecord& record, const EntryBytes& entry)> apply;
};

// Reads an entry list (count; then id, length and bytes per entry) without the store lock and
// applies it in bounded batches, each in one short step under the lock, so that no port read
// ever waits with the lock held. Entries read before a failure are applied; the result is the
// first failure in stream order.
ResultCode ApplyEntries(ByteReader& in, PanelStore& store, const EntryRules& rules);

} // namespace ksv
