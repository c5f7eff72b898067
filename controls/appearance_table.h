#pragma once

#include "controls/control_kind.h"

#include <cstdint>

// The appearances of each control kind, from one table: the names the Control Appearance
// dialog lists, how many it offers, and which stored indices a control can show. Indices the
// dialog does not offer (a read-only Number's bar, an editable Number's slider, a Matrix's
// inline charts and table) are shown only when the stored layout holds them.

// What a control needs to know to tell which appearances it has.
struct AppearanceContext {
    ControlKind kind = ControlKind::Unsupported;
    uint32_t flags = 0;
    uint32_t latchGroup = 0;
    bool numberHasRange = false; // minimum below maximum
};

// How many appearances the dialog offers: the first that many indices.
int OfferedAppearanceCount(const AppearanceContext& context);
// The name of an appearance; an index past the named ones gives the last of the kind's list.
// Null for a kind without names.
const char* AppearanceName(const AppearanceContext& context, int appearance);
// Whether the control can show the appearance, offered or not.
bool HasAppearance(const AppearanceContext& context, int appearance);

// The appearance a stored index gives: itself when the control has it, else 0.
int EffectiveAppearance(const AppearanceContext& context, int appearance);
// The highest appearance index the control can show (0 for a kind with one or none).
int LastAppearance(const AppearanceContext& context);
