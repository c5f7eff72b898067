#pragma once

#include "link/control_record.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ksv {

// What one panel may hold, whatever each record announces: every record is capped on its own,
// and these cap their sum. A description past either is refused and the old panel stays.
inline constexpr uint32_t kMaxPanelRecords = 65536;
inline constexpr size_t kMaxPanelBytes = size_t{64} << 20;

// Memory a record holds: the record itself and every buffer it owns.
size_t RecordHeldBytes(const ControlRecord& record);
size_t PanelHeldBytes(const std::vector<ControlRecord>& records);

// The running total of a description being decoded.
class PanelBudget {
public:
    // False once the records or the bytes would pass the budget; nothing is charged then.
    bool Charge(size_t bytes);
    // Whether `bytes` more fit without charging them (a record's raw bytes before reading).
    bool Fits(size_t bytes) const { return bytes <= kMaxPanelBytes - m_bytes; }

private:
    size_t m_bytes = 0;
};

} // namespace ksv
