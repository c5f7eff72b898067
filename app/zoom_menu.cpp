#include "app/zoom_menu.h"

#include "app/zoom_factor.h"
#include "resources/resource_ids.h"

namespace ksv {

bool IsZoomCommand(int commandId) {
    return commandId == ID_ZOOM_IN || commandId == ID_ZOOM_OUT || commandId == ID_ZOOM_ACTUAL;
}

bool IsZoomCommandEnabled(const ZoomState& state, int commandId) {
    switch (commandId) {
    case ID_ZOOM_IN:
        return state.target < kZoomQuartersMax;
    case ID_ZOOM_OUT:
        return state.target > kZoomQuartersActualSize;
    case ID_ZOOM_ACTUAL:
        return state.target != kZoomQuartersActualSize || state.running != kZoomQuartersActualSize;
    default:
        return false;
    }
}

int ZoomCommandTarget(const ZoomState& state, int commandId) {
    switch (commandId) {
    case ID_ZOOM_IN:
        return ZoomInQuarters(state.target);
    case ID_ZOOM_OUT:
        return ZoomOutQuarters(state.target);
    case ID_ZOOM_ACTUAL:
        return kZoomQuartersActualSize;
    default:
        return state.target;
    }
}

} // namespace ksv
