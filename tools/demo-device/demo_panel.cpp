#include "demo_panel.h"

#include "demo_charts.h"
#include "platform/layout/layout_attributes.h"

#include <ctime>

namespace ksv::demo {
namespace {

constexpr uint32_t kAppearance = kAttrAppearance;
// Dark blue, 0x00BBGGRR: the filled part of the tank bar, with white figures on it.
constexpr uint32_t kTankColour = 0x00965014;

// Texts back to back, each NUL-terminated: list items, series names, row labels.
std::u16string Strings(std::initializer_list<std::u16string> texts) {
    std::u16string out;
    for (const auto& text : texts) {
        out += text;
        out += u'\0';
    }
    return out;
}

std::vector<uint8_t> Cells(std::initializer_list<int32_t> values) {
    std::vector<uint8_t> out;
    for (int32_t value : values) {
        PutU32(out, static_cast<uint32_t>(value));
    }
    return out;
}

// Chart: an empty ring of rows, no row labels, the cursor at 0 rows.
std::vector<uint8_t> EmptyChart() {
    std::vector<uint8_t> blob(kChartRows * kChartSeries * 4, 0);
    PutU32(blob, 0);
    return blob;
}

// Table: hours and starts of three machines, column after column, then the row labels.
std::vector<uint8_t> MachineTable() {
    std::vector<uint8_t> blob = Cells({1250, 310, 77, 14, 95, 3});
    const std::vector<uint8_t> labels =
        EncodeWireString(Strings({u"Pump", u"Fan", u"Heater"}), true);
    blob.insert(blob.end(), labels.begin(), labels.end());
    PutU32(blob, 3);
    return blob;
}

std::vector<uint8_t> ServiceDate() {
    return {0, 0, 0, 14, 4, 5, 2026 & 0xFF, 2026 >> 8}; // Thursday 14 May 2026
}

// The controls of every kind, one per line: tag, flags, id, initial value, lettered fields.
std::vector<DeviceControl> KindsPanel(const std::vector<uint8_t>& gif) {
    constexpr uint32_t kSetNumber = kFlagEditable | kFlagMinApplies | kFlagMaxApplies;
    constexpr uint32_t kHoursMinutes = kFlagEditable | kFlagHours | kFlagMinutes;
    constexpr uint32_t kWholeDate = kFlagEditable | kFlagDateParts;
    // clang-format off
    return {
        DeviceControl('T', 0, kIdStatus).ValueText(u"Demo ready").U32('m', kStatusBytes).Caption(u"Status"),
        DeviceControl('D', 0, kIdClock).ValueBytes(PackedNow()).String('f', u"%HH%:%mm%:%ss%").Caption(u"Clock"),
        DeviceControl('N', 0, kIdCounter).ValueU32(0).String('f', u"%% turns").Caption(u"Counter"),
        DeviceControl('N', kSetNumber | kFlagNotationFixed, kIdSetpoint).ValueU32(215).String('f', u"%% C").U32('n', 50).U32('x', 400).Byte('d', 1).Byte('m', 0xFF).Caption(u"Setpoint"),
        DeviceControl('G', 0, kIdLamp).ValueByte(0).Caption(u"Lamp"),
        DeviceControl('G', 0, kIdHorn).ValueByte(0).Caption(u"Horn (hold)"),
        DeviceControl('G', 0, kIdModeA).ValueByte(0xFF).U32('r', 1).Caption(u"Mode A"),
        DeviceControl('G', 0, kIdModeB).ValueByte(0).U32('r', 1).Caption(u"Mode B"),
        DeviceControl('G', 0, kIdAuto).ValueByte(0xFF).Caption(u"Automatic"),
        DeviceControl('B', 0, kIdAsk).ValueByte(0).Caption(u"Ask me"),
        DeviceControl('S', 0, kIdDetails).ValueByte(0).Caption(u"Details"),
        DeviceControl('N', kSetNumber, kIdFlow).ValueU32(12).String('f', u"%% l/min").U32('n', 0).U32('x', 99).Caption(u"Flow"),
        DeviceControl('N', kSetNumber, kIdVolume).ValueU32(30).U32('n', 0).U32('x', 100).Caption(u"Volume"),
        DeviceControl('N', 0, kIdTank).ValueU32(320).String('f', u"%% l").U32('n', 0).U32('x', kTankLitres).Colour(kTankColour).Caption(u"Tank"),
        DeviceControl('D', kHoursMinutes, kIdAlarm).ValueBytes({0, 30, 6, 1, 1, 1, 0xEA, 0x07}).String('f', u"%HH%:%mm%").Caption(u"Alarm"),
        DeviceControl('D', kWholeDate, kIdService).ValueBytes(ServiceDate()).String('f', u"%dd%.%MM%.%yy%").Caption(u"Service"),
        DeviceControl('D', kFlagEditable | kFlagWeekday, kIdRestDay).ValueBytes({0, 0, 0, 1, 0, 1, 0xEA, 0x07}).String('f', u"%dddd%").Caption(u"Rest day"),
        DeviceControl('L', kFlagWide, kIdSpeed).ValueU32(1).U32('n', 3).String('I', Strings({u"Slow", u"Medium", u"Fast"})).Caption(u"Speed"),
        DeviceControl('L', kFlagWide, kIdProgram).ValueU32(0).U32('n', 4).String('I', Strings({u"Eco", u"Normal", u"Intensive", u"Rinse"})).Caption(u"Program"),
        DeviceControl('P', 0, kIdLogin).ValueByte(0).Caption(u"Log in (password demo)"),
        DeviceControl('T', kFlagEditable | kFlagPasswordEntry, kIdPin).ValueText(u"").U32('m', 9).Caption(u"PIN"),
        DeviceControl('T', kFlagEditable | kFlagNewRow, kIdNote).ValueText(u"").U32('m', 32).Caption(u"Note"),
        DeviceControl('M', kFlagWide | kFlagYFixedNotation, kIdChart).ValueBytes(EmptyChart()).U32('n', kChartRows).U32('N', kChartSeries).String('f', u" ").String('F', u"%%").String('a', u"Seconds").String('A', Strings({u"Temp", u"Load"})).Byte('D', 1).Byte('M', 0xFF).Caption(u"Live chart"),
        DeviceControl('M', kFlagWide | kFlagLabelsText, kIdTable).ValueBytes(MachineTable()).U32('n', 3).U32('N', 2).String('f', u" ").String('F', u"%%").String('a', u"Machine").String('A', Strings({u"Hours", u"Starts"})).Caption(u"Machines"),
        DeviceControl('O', kFlagEditable | kFlagActionOpenInBrowser, kIdWebPage).ValueText(u"https://example.org/").U32('m', 64).Caption(u"Web page"),
        DeviceControl('F', kFlagActionOpenInBrowser, kIdNotes).Caption(u"Get notes"),
        DeviceControl('F', 0, kIdReport).Caption(u"Get report"),
        DeviceControl('I', kFlagEditable, kIdPicture).ValueBytes(gif).Caption(u"Picture"),
        DeviceControl('Q', 0, kIdFuture).ValueU32(0).NoFieldBlock(),
        DeviceControl('X', kFlagHidden | kFlagIconQuestion | kFlagButtonsYesNo, kIdQuestion).ValueText(u"").U32('m', kQuestionChars),
        DeviceControl('X', kFlagHidden | kFlagIconExclamation | kFlagButtonsOk, kIdWarning).ValueText(u"The tank is almost full.").U32('m', kQuestionChars),
    };
    // clang-format on
}

} // namespace

std::vector<uint8_t> PackedNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int year = local.tm_year + 1900;
    return {static_cast<uint8_t>(local.tm_sec),  static_cast<uint8_t>(local.tm_min),
            static_cast<uint8_t>(local.tm_hour), static_cast<uint8_t>(local.tm_mday),
            static_cast<uint8_t>(local.tm_wday), static_cast<uint8_t>(local.tm_mon + 1),
            static_cast<uint8_t>(year & 0xFF),   static_cast<uint8_t>(year >> 8)};
}

std::vector<DeviceControl> DemoPanel(const std::vector<uint8_t>& gif) {
    // Further demo controls are appended here, after the controls of every kind.
    return WithDemoCharts(KindsPanel(gif));
}

namespace {

// Where the recommended layout puts a control: its page and rectangle (a width of 0 keeps the
// control's own size, as an Image's picture gives it), and whether its caption shows above it.
struct Spot {
    uint32_t id;
    uint32_t page, x, y, width, height;
    bool caption;
};

// The controls of every kind on pages of their own: values, switches, time and choices, data,
// buttons. A control whose windows do not show its caption (values, edits, pickers, lists,
// tables) gets it above them.
// clang-format off
constexpr Spot kSpots[] = {
    {kIdStatus,   0,   2,   2, 117,  50, true},
    {kIdClock,    0, 121,   2, 117,  50, true},
    {kIdCounter,  0,   2,  54, 117,  50, true},
    {kIdTank,     0, 121,  54, 117,  50, true},
    {kIdSetpoint, 0,   2, 106, 117,  42, true},
    {kIdFlow,     0, 121, 106, 117,  42, true},
    {kIdVolume,   0,   2, 150, 236,  42, true},
    {kIdLamp,     1,   2,   2, 117,  50, false},
    {kIdHorn,     1, 121,   2, 117,  50, false},
    {kIdModeA,    1,   2,  54, 117,  50, false},
    {kIdModeB,    1, 121,  54, 117,  50, false},
    {kIdAuto,     1,   2, 106, 117,  50, false},
    {kIdAsk,      1, 121, 106, 117,  50, false},
    {kIdDetails,  1,   2, 158, 117,  49, false},
    {kIdFuture,   1, 121, 158, 117,  49, false},
    {kIdAlarm,    2,   2,   2, 117,  43, true}, // a picker reaches a pixel lower
    {kIdService,  2, 121,   2, 117,  44, true},
    {kIdRestDay,  2,   2,  48, 117,  43, true},
    {kIdSpeed,    2, 121,  48, 117,  44, true},
    {kIdProgram,  2,   2,  94, 117, 113, true},
    {kIdNote,     2, 121,  94, 117,  42, true},
    {kIdPin,      2, 121, 138, 117,  42, true},
    {kIdLogin,    3,   2,   2, 236,  42, true},
    {kIdTable,    3,   2,  46, 236, 100, true},
    {kIdWebPage,  3,   2, 148, 117,  59, false},
    {kIdNotes,    3, 121, 148, 117,  59, false},
    {kIdReport,   4,   2,   2, 117,  50, false},
    {kIdPicture,  4, 159,   7,   0,   0, false},
    {kIdChart,    kLiveChartPage, 2, 2, 236, 205, true},
};
// clang-format on

constexpr uint32_t kCaptionHeight = 14; // the caption label's font height

void AppendSpot(std::vector<LayoutEntry>& layout, const Spot& spot) {
    const uint32_t id = spot.id;
    layout.insert(layout.end(),
                  {{id, kAttrX, spot.x}, {id, kAttrY, spot.y}, {id, kAttrPage, spot.page}});
    if (spot.width != 0) {
        layout.insert(layout.end(), {{id, kAttrWidth, spot.width}, {id, kAttrHeight, spot.height}});
    }
    if (spot.caption) {
        layout.insert(layout.end(),
                      {{id, kAttrShowLabel, 1}, {id, kAttrLabelFontHeight, kCaptionHeight}});
    }
    if (id == kIdLogin || id == kIdDetails) { // open or logged in, it stays where it is
        layout.insert(layout.end(), {{id, kAttrXOpen, spot.x},
                                     {id, kAttrYOpen, spot.y},
                                     {id, kAttrWidthOpen, spot.width},
                                     {id, kAttrHeightOpen, spot.height},
                                     {id, kAttrPageOpen, spot.page}});
    }
}

} // namespace

std::vector<LayoutEntry> DemoLayout() {
    std::vector<LayoutEntry> layout = {
        {kIdSetpoint, kAppearance, 2}, // with spin
        {kIdHorn, kAppearance, 1},     // momentary
        {kIdAuto, kAppearance, 2},     // check box
        {kIdFlow, kAppearance, 1},     // with OK
        {kIdVolume, kAppearance, 4},   // slider
        {kIdTank, kAppearance, 3},     // bar
        {kIdAlarm, kAppearance, 1},    // inline time picker
        {kIdRestDay, kAppearance, 1},  // inline weekday list
        {kIdProgram, kAppearance, 1},  // list box
        {kIdNote, kAppearance, 1},     // text with OK
        {kIdChart, kAppearance, 4},    // inline line chart
        {kIdTable, kAppearance, 7},    // inline table
        {kDeviceWideId, kAttrPingSeconds, 5},
    };
    for (const Spot& spot : kSpots) {
        AppendSpot(layout, spot);
    }
    // Further recommended entries are appended here.
    return WithDemoChartLayout(layout);
}

} // namespace ksv::demo
