#pragma once

#include "platform/settings_store.h"

namespace ksv {

// Global key of the zoom for the next start, in quarters (the factor times 4).
inline constexpr char kZoomQuartersKey[] = "m_iZoomQuarters";

// The stored zoom clamped to 1..4, or 0 when none is stored (or the value is not positive).
int LoadZoomQuarters(const SettingsStore& settings);
void SaveZoomQuarters(SettingsStore& settings, int quarters);

} // namespace ksv
