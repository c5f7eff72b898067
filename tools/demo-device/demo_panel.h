#pragma once

#include "link/device_encoder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ksv::demo {

// Control ids of the demo panel; every later message names a control by one of these.
enum DemoControlId : uint32_t {
    kIdStatus = 1,
    kIdClock = 2,
    kIdCounter = 3,
    kIdSetpoint = 4,
    kIdLamp = 5,
    kIdModeA = 6,
    kIdModeB = 7,
    kIdAsk = 8,
    kIdDetails = 9,
    kIdLogin = 10,
    kIdSpeed = 11,
    kIdChart = 12,
    kIdTable = 13,
    kIdWebPage = 14,
    kIdNotes = 15,
    kIdPicture = 16,
    kIdFuture = 17,
    kIdNote = 18,
    kIdQuestion = 19,
};

// Sizes the device's updates must agree with.
inline constexpr uint32_t kStatusBytes = 40;   // narrow text field of the status line
inline constexpr uint32_t kQuestionChars = 80; // message box text
inline constexpr uint32_t kChartRows = 30;     // ring of chart rows
inline constexpr uint32_t kChartSeries = 2;

// Flags bits the panel uses.
inline constexpr uint32_t kHidden = 0x00000001;
inline constexpr uint32_t kWide = 0x00000004;
inline constexpr uint32_t kNewRow = 0x00000008;
inline constexpr uint32_t kEditable = 0x00010000;  // also: text blob, tappable image
inline constexpr uint32_t kRowLabels = 0x00020000; // chart/table rows labelled by texts
inline constexpr uint32_t kQuestionIcon = 0x00040000;
inline constexpr uint32_t kYesNo = 0x00400000;

// The 8-byte date/time of the device's clock: second, minute, hour, day, weekday, month, year.
std::vector<uint8_t> PackedNow();

// The whole demo panel, in the order the handheld lays it out.
std::vector<DeviceControl> DemoPanel(const std::vector<uint8_t>& gif);

} // namespace ksv::demo
