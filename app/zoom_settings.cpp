#include "app/zoom_settings.h"

#include "app/zoom_factor.h"

namespace ksv {

int LoadZoomQuarters(const SettingsStore& settings) {
    const int stored = settings.GetProfileInt(kGlobalSection, kZoomQuartersKey, 0);
    return stored > 0 ? ClampZoomQuarters(stored) : 0;
}

void SaveZoomQuarters(SettingsStore& settings, int quarters) {
    settings.WriteProfileInt(kGlobalSection, kZoomQuartersKey, ClampZoomQuarters(quarters));
}

} // namespace ksv
