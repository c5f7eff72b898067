#pragma once

#include <QFont>

// A control's font: "Arial" at a pixel height, bold or not. Where Arial is missing it is the
// metric-compatible Liberation Sans, so that captions fit where they were meant to.
QFont MakeControlFont(int height, bool bold);
