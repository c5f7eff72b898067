#pragma once

#include "link/panel_store.h"

#include <cstdint>
#include <vector>

// The whole value the store holds for a control, as GetControlValue gives it; reading it
// clears the control's update mark.
std::vector<uint8_t> ReadControlValue(ksv::PanelStore& store, uint32_t id);

// The same for the record at an index, found without a search.
std::vector<uint8_t> ReadControlValueAt(const ksv::StoreLock& lock, uint32_t index);
