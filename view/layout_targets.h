#pragma once

#include "controls/ctrl.h"
#include "dialogs/control_appearance_dialog.h"
#include "dialogs/control_settings_dialog.h"

#include <QStringList>

#include <cstdint>
#include <vector>

// What the layout dialogs show of the panel's controls, and what they give back.

// One line per control in panel order; hidden controls are left out unless they are message
// boxes. Sections and passwords tell whether they are open.
std::vector<ControlListLine> ControlListLines(const CCtrl* ctrls, uint32_t count);

// The first selected target's values: its open placement while it uses that one.
AppearanceValues AppearanceValuesOf(const CCtrl& target, bool severalSelected);

// The appearances the dialog offers for the target.
QStringList AppearanceNames(const CCtrl& target);

// The confirmed values taken by one selected target: the size, the font and, for a single
// selection only, the place, page and appearance. The target is then placed by hand.
void ApplyAppearanceValues(CCtrl& target, const AppearanceValues& values);
