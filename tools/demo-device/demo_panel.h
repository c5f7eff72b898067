#pragma once

#include "link/control_flags.h"
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
    kIdHorn = 20,
    kIdAuto = 21,
    kIdFlow = 22,
    kIdVolume = 23,
    kIdTank = 24,
    kIdAlarm = 25,
    kIdService = 26,
    kIdRestDay = 27,
    kIdProgram = 28,
    kIdPin = 29,
    kIdReport = 30,
    kIdWarning = 31,
};

// Sizes the device's updates must agree with.
inline constexpr uint32_t kStatusBytes = 40;   // narrow text field of the status line
inline constexpr uint32_t kQuestionChars = 80; // message box text
inline constexpr uint32_t kChartRows = 30;     // ring of chart rows
inline constexpr uint32_t kChartSeries = 2;
inline constexpr int32_t kTankLitres = 500; // the tank bar's range is 0..kTankLitres

// The 8-byte date/time of the device's clock: second, minute, hour, day, weekday, month, year.
std::vector<uint8_t> PackedNow();

// The whole demo panel, in the order the handheld lays it out.
std::vector<DeviceControl> DemoPanel(const std::vector<uint8_t>& gif);

// The pages of the recommended layout: the controls of every kind on pages 0 to 4, then the
// live chart alone, then the other charts, one a page.
inline constexpr uint32_t kLiveChartPage = 5;
inline constexpr uint32_t kFirstChartPage = 6;

// The layout the device recommends: appearances that show every way a kind can look, every
// control in its place with its caption where it needs one, and pages of their own for the
// charts.
std::vector<LayoutEntry> DemoLayout();

} // namespace ksv::demo
