#pragma once

#include "controls/ctrl.h"

#include <QRect>

#include <cstdint>
#include <set>

// Automatic placement of a panel's controls in rows and pages.

// The controls' area: the view's width, from the top to where the page bar begins.
struct FlowArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct FlowSpacing {
    int gap = 2;       // between controls, rows and the view's edges
    int maxSpread = 5; // largest extra spacing per gap that justification adds
    bool justify = true;
};

// The default size of a control by kind and appearance; an Image keeps its picture's size.
void SetDefaultSize(CCtrl& ctrl);

// The smallest page number from `from` up that no stored layout names.
int FirstFreePage(const std::set<int>& storedPages, int from = 0);

// Places one row starting at control `index` and advances index, y and page; a new page is the
// next one that no stored layout names.
void FlowRow(CCtrl* ctrls, uint32_t count, uint32_t& index, int& y, int& page, const FlowArea& area,
             const FlowSpacing& spacing, const std::set<int>& storedPages = {});

// Flows every control into rows and pages, on the pages no stored layout names, so that an
// automatic control never covers one the user or the device placed.
void FlowControls(CCtrl* ctrls, uint32_t count, const std::set<int>& storedPages,
                  const FlowArea& area, const FlowSpacing& spacing);

// Top-left corner of a start-screen button: centred across the area, its middle at `quarter`
// quarters of the area's height (1 "Connect", 2 "Connect Inbound", 3 "Close").
QPoint StartScreenPosition(const QRect& area, int quarter, int width, int height);
