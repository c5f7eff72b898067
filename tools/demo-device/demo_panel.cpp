#include "demo_panel.h"

#include <ctime>

namespace ksv::demo {
namespace {

constexpr uint32_t kMinApplies = 0x00020000;
constexpr uint32_t kMaxApplies = 0x00040000;
constexpr uint32_t kFixedNotation = 0x00100000;
constexpr uint32_t kChartFixedY = 0x01000000;
constexpr uint32_t kOpenInBrowser = 0x00100000;

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

// One control per line: tag, flags, id, initial value, then the lettered fields.
std::vector<DeviceControl> DemoPanel(const std::vector<uint8_t>& gif) {
    // clang-format off
    return {
        DeviceControl('T', 0, kIdStatus).ValueText(u"Demo ready").U32('m', kStatusBytes).Caption(u"Status"),
        DeviceControl('D', 0, kIdClock).ValueBytes(PackedNow()).String('f', u"%HH%:%mm%:%ss%").Caption(u"Clock"),
        DeviceControl('N', 0, kIdCounter).ValueU32(0).String('f', u"%% turns").Caption(u"Counter"),
        DeviceControl('N', kEditable | kMinApplies | kMaxApplies | kFixedNotation, kIdSetpoint).ValueU32(215).String('f', u"%% C").U32('n', 50).U32('x', 400).Byte('d', 1).Byte('m', 0xFF).Caption(u"Setpoint"),
        DeviceControl('G', 0, kIdLamp).ValueByte(0).Caption(u"Lamp"),
        DeviceControl('G', 0, kIdModeA).ValueByte(0xFF).U32('r', 1).Caption(u"Mode A"),
        DeviceControl('G', 0, kIdModeB).ValueByte(0).U32('r', 1).Caption(u"Mode B"),
        DeviceControl('B', 0, kIdAsk).ValueByte(0).Caption(u"Ask me"),
        DeviceControl('S', 0, kIdDetails).ValueByte(0).Caption(u"Details"),
        DeviceControl('P', 0, kIdLogin).ValueByte(0).Caption(u"Log in (demo)"),
        DeviceControl('L', kWide, kIdSpeed).ValueU32(1).U32('n', 3).String('I', Strings({u"Slow", u"Medium", u"Fast"})).Caption(u"Speed"),
        DeviceControl('M', kWide | kChartFixedY, kIdChart).ValueBytes(EmptyChart()).U32('n', kChartRows).U32('N', kChartSeries).String('f', u" ").String('F', u"%%").String('a', u"Seconds").String('A', Strings({u"Temp", u"Load"})).Byte('D', 1).Byte('M', 0xFF).Caption(u"Live chart"),
        DeviceControl('M', kWide | kRowLabels, kIdTable).ValueBytes(MachineTable()).U32('n', 3).U32('N', 2).String('f', u" ").String('F', u"%%").String('a', u"Machine").String('A', Strings({u"Hours", u"Starts"})).Caption(u"Machines"),
        DeviceControl('O', kEditable | kOpenInBrowser, kIdWebPage).ValueText(u"https://example.org/").U32('m', 64).Caption(u"Web page"),
        DeviceControl('F', 0, kIdNotes).Caption(u"Get notes"),
        DeviceControl('I', kEditable, kIdPicture).ValueBytes(gif).Caption(u"Picture"),
        DeviceControl('Q', 0, kIdFuture).ValueU32(0).NoFieldBlock(),
        DeviceControl('T', kEditable | kNewRow, kIdNote).ValueText(u"").U32('m', 32).Caption(u"Note"),
        DeviceControl('X', kHidden | kQuestionIcon | kYesNo, kIdQuestion).ValueText(u"").U32('m', kQuestionChars),
    };
    // clang-format on
}

} // namespace ksv::demo
