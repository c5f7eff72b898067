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
