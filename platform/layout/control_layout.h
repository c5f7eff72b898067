#pragma once

#include "platform/device_settings.h"

#include <cstdint>

namespace ksv {

// Where a control or page-bar button is, in view pixels; page -1 is every page.
struct Placement {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 117;
    int32_t height = 57;
    int32_t page = 0;
};

// What of a control's kind decides which stored entries it has.
struct LayoutTraits {
    bool openPlacement = false; // Section, Password: a second placement while open or logged in
    bool image = false;         // Image: the picture's placement modes
    int32_t lastAppearance = 0; // the highest appearance index the kind knows
};

// The stored layout of one control or page-bar button (the buttons use the placement, the
// appearance and the control font only).
struct ControlLayout {
    bool autoPlace = true; // placed by the automatic flow; the other entries are ignored
    Placement placement;
    Placement open; // Section and Password only
    int32_t appearance = 0;
    int32_t fontHeight = 20;
    bool fontBold = false;
    bool border = false;
    bool showLabel = false;
    int32_t labelFontHeight = 12;
    bool labelBold = true;
    int32_t align = 0;
    int32_t imageHAlign = 0; // Image only
    int32_t imageVAlign = 0; // Image only
};

// Reading takes the current values of `layout` as the defaults of absent entries, and brings
// every value read into range (layout_ranges.h). The appearance and the auto-place flag are read
// always; everything else only when the control is then not placed automatically.
void ReadControlLayout(const DeviceSettings& device, uint32_t id, const LayoutTraits& traits,
                       ControlLayout& layout);
// Writes every entry the handheld keeps for a control, whatever its auto-place flag.
void WriteControlLayout(DeviceSettings& device, uint32_t id, const LayoutTraits& traits,
                        const ControlLayout& layout);

// The stored appearance alone, `current` when absent.
int32_t ReadAppearance(const DeviceSettings& device, uint32_t id, const LayoutTraits& traits,
                       int32_t current);

// A page-bar button under its pseudo id (kPageBarIds): only the auto-place flag is read always.
void ReadPageBarLayout(const DeviceSettings& device, int32_t pseudoId, ControlLayout& layout);
void WritePageBarLayout(DeviceSettings& device, int32_t pseudoId, const ControlLayout& layout);

} // namespace ksv
