#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ksv {

// The attribute half of a per-device entry name (DeviceKey): which value of an id is meant.
enum LayoutAttribute : uint32_t {
    // Per control and per page-bar button.
    kAttrAutoPlace = 0,
    kAttrX = 256,
    kAttrY = 272,
    kAttrWidth = 288,
    kAttrHeight = 304,
    kAttrPage = 320,
    kAttrAppearance = 336,
    kAttrFontHeight = 352,
    kAttrFontBold = 368,
    // Per control only.
    kAttrBorder = 384,
    kAttrShowLabel = 400,
    kAttrLabelFontHeight = 416,
    kAttrLabelBold = 432,
    kAttrAlign = 608, // also an Image's vertical alignment
    kAttrImageHAlign = 624,
    // Chart axis overrides (Chart only).
    kAttrYMinimum = 512,
    kAttrYMaximum = 528,
    kAttrXMinimum = 544,
    kAttrXMaximum = 560,
    // Number only: the zero-fill formatting parameter.
    kAttrZeroFill = 576,
    // The open placement of a Section or Password.
    kAttrXOpen = 257,
    kAttrYOpen = 273,
    kAttrWidthOpen = 289,
    kAttrHeightOpen = 305,
    kAttrPageOpen = 321,
    // Device-wide, under kDeviceWideId.
    kAttrLayoutRequested = 0,
    kAttrLayoutLocked = 256,
    kAttrPingsLocked = 512,
    kAttrPingSeconds = 768,
};

// The id of the entries that concern the whole device.
inline constexpr uint32_t kDeviceWideId = 0;

// Pseudo ids of the page-bar buttons, in the order "Close", "Prev", "Next", "First", "Last".
inline constexpr size_t kPageBarButtonCount = 5;
inline constexpr std::array<int32_t, kPageBarButtonCount> kPageBarIds = {-256, -255, -254, -253,
                                                                         -252};

// A pseudo id as the entry name carries it: two's complement (-256 gives FFFFFF00).
inline constexpr uint32_t EntryId(int32_t id) {
    return static_cast<uint32_t>(id);
}

} // namespace ksv
