#include "view/store_value.h"

#include <algorithm>

std::vector<uint8_t> ReadControlValue(ksv::PanelStore& store, uint32_t id) {
    uint32_t size = 0;
    store.GetControlValue(id, nullptr, &size);
    std::vector<uint8_t> value(size);
    store.GetControlValue(id, value.data(), &size);
    value.resize(std::min<size_t>(size, value.size()));
    return value;
}

std::vector<uint8_t> ReadControlValueAt(const ksv::StoreLock& lock, uint32_t index) {
    uint32_t size = 0;
    lock.GetControlValueAt(index, nullptr, &size);
    std::vector<uint8_t> value(size);
    lock.GetControlValueAt(index, value.data(), &size);
    value.resize(std::min<size_t>(size, value.size()));
    return value;
}
