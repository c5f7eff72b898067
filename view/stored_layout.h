#pragma once

#include "controls/ctrl.h"
#include "platform/layout/control_layout.h"

// A control's layout fields as the per-device store keeps them.

// What of the control's kind decides which entries it has.
ksv::LayoutTraits LayoutTraitsOf(const CCtrl& ctrl);

// The control's layout as it stands: what SaveLayout writes, and the defaults of a read.
ksv::ControlLayout CurrentLayout(const CCtrl& ctrl);

// A layout read from the store: the appearance and the auto-place flag always; placement,
// fonts, label, border and alignment only when the control is not placed automatically.
void ApplyStoredLayout(CCtrl& ctrl, const ksv::LayoutTraits& traits,
                       const ksv::ControlLayout& layout);

// A page-bar button takes only its placement, appearance and font, and only when it is not
// placed automatically.
void ApplyStoredPageBarLayout(CCtrl& button, const ksv::ControlLayout& layout);
