#include "link/panel_budget.h"

#include <string>

namespace ksv {
namespace {

size_t Held(const std::u16string& text) {
    return text.capacity() * sizeof(char16_t);
}

size_t Held(const std::vector<uint8_t>& bytes) {
    return bytes.capacity();
}

} // namespace

size_t RecordHeldBytes(const ControlRecord& r) {
    return sizeof(ControlRecord) + Held(r.caption) + Held(r.text) + Held(r.format) + Held(r.cells) +
           Held(r.textPart) + Held(r.stringF) + Held(r.stringBigF) + Held(r.stringA) +
           Held(r.stringBigA) + Held(r.items) + Held(r.data) + Held(r.fileName);
}

size_t PanelHeldBytes(const std::vector<ControlRecord>& records) {
    size_t total = 0;
    for (const ControlRecord& record : records) {
        total += RecordHeldBytes(record);
    }
    return total;
}

bool PanelBudget::Charge(size_t bytes) {
    if (!Fits(bytes)) {
        return false;
    }
    m_bytes += bytes;
    return true;
}

} // namespace ksv
