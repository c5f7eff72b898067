#pragma once

#include <cstdint>
#include <vector>

// Where a control's windows go inside its rectangle, in view pixels. Plain arithmetic, so that
// placement tests without a GUI.

struct CtrlRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool operator==(const CtrlRect& o) const {
        return x == o.x && y == o.y && w == o.w && h == o.h;
    }
};

// A control's rectangle and the height its caption label takes from the top (0 when hidden).
struct CtrlFrame {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int label = 0;

    // Below the label.
    CtrlRect Body() const { return {x, y + label, w, h - label}; }
    // The side of a square button beside an edit: the body's height.
    int Side() const { return h - label; }
};

// An edit with a square button at its right ("OK"), overlapping by one pixel.
struct EditWithButton {
    CtrlRect edit;
    CtrlRect button;
};
EditWithButton PlaceEditWithButton(const CtrlFrame& f);

// A value window with "-" and "+" square buttons at its right.
struct SpinPlacement {
    CtrlRect value;
    CtrlRect minus;
    CtrlRect plus;
};
SpinPlacement PlaceSpin(const CtrlFrame& f);

// The inline date/time pickers: the time picker on top, the date picker (or the weekday list)
// below it when both are shown; each gets the whole body otherwise.
struct PickerPlacement {
    CtrlRect time;
    CtrlRect date;
    CtrlRect weekday;
};
PickerPlacement PlacePickers(const CtrlFrame& f, bool timeWithOther);

// A read-only number as a bar: the bar from the left, the value window after it. The value
// shows inside the bar once the bar passes half the width.
struct BarPlacement {
    CtrlRect bar;
    CtrlRect value;
    bool valueInBar = false;
};
// Values outside minimum..maximum give an empty or a full bar; without a range (minimum not
// below maximum) the bar is empty.
BarPlacement PlaceBar(const CtrlFrame& f, int32_t value, int32_t minimum, int32_t maximum);

// The cells a picture is drawn into: mode 0 stretches over the extent, 1 puts it at the start,
// 2 centres it, 3 puts it at the end, 4 tiles it from the start (other modes stretch).
struct ImageAxisCell {
    int position = 0;
    int length = 0;
};
std::vector<ImageAxisCell> ImageAxisCells(int origin, int extent, int picture, int mode);

// Every cell of a picture in a control, shifted 2 pixels right and down while pressed.
std::vector<CtrlRect> ImageCells(const CtrlRect& control, int pictureWidth, int pictureHeight,
                                 int hAlign, int vAlign, bool pressed);
