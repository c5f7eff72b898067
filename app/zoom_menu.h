#pragma once

namespace ksv {

// The zoom in force in this window and the one chosen for the next start (they differ after
// the user declined a restart). Both in quarters.
struct ZoomState {
    int running = 4;
    int target = 4;
};

// "Zoom In", "Zoom Out" and "Actual Size" of the Settings pop-up.
bool IsZoomCommand(int commandId);
// Zoom In up to 4, Zoom Out down to 1; Actual Size while either zoom is not 1.
bool IsZoomCommandEnabled(const ZoomState& state, int commandId);
// The zoom a command chooses; steps start from the target, so declined steps add up.
int ZoomCommandTarget(const ZoomState& state, int commandId);

} // namespace ksv
