#include "demo_session.h"

#include "demo_gif.h"
#include "demo_panel.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace ksv::demo {
namespace {

constexpr uint32_t kPingEveryTicks = 10;
constexpr uint32_t kPasswordField = 34;
constexpr int32_t kTankWarnAt = 480;
constexpr uint32_t kYellow = 0x0000FFFF; // 0x00BBGGRR
constexpr uint32_t kWhite = 0x00FFFFFF;

std::u16string Widen(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// A narrow, NUL-terminated string inside a fixed field of the handheld's report.
std::string FieldText(const std::vector<uint8_t>& bytes, size_t offset, size_t size) {
    std::string text;
    for (size_t i = offset; i < offset + size && i < bytes.size() && bytes[i] != 0; ++i) {
        text += static_cast<char>(bytes[i]);
    }
    return text;
}

std::vector<uint8_t> CellBytes(int32_t value) {
    std::vector<uint8_t> out;
    PutU32(out, static_cast<uint32_t>(value));
    return out;
}

} // namespace

DemoSession::DemoSession(Sender send, std::ostream& log)
    : m_send(std::move(send)), m_log(log), m_gif(MakeDemoGif()) {}

bool DemoSession::Send(const DeviceMessage& message) {
    if (m_send(message)) {
        return true;
    }
    m_log << "demo-device: the port is gone; the session ends\n";
    m_inSession = false;
    return false;
}

void DemoSession::OnFrame(const HandheldFrame& frame) {
    switch (frame.kind) {
    case kMsgHello:
        m_log << "demo-device: Hello from the handheld\n";
        Start();
        return;
    case kMsgGoodbyeFromHandheld:
        m_log << "demo-device: Goodbye from the handheld; waiting for the next Hello\n";
        m_inSession = false;
        return;
    case kMsgPing:
        Send(EncodeBareFrame(kMsgPingReply));
        return;
    case kMsgPingReplyToDevice:
        m_pingOutstanding = false;
        return;
    case kMsgAcknowledge:
        m_log << "demo-device: the handheld acknowledged\n";
        return;
    case kMsgLayoutRequest:
        m_log << "demo-device: layout requested; recommending an appearance for each kind\n";
        Send(EncodeLayoutEntries(DemoLayout()));
        return;
    case kMsgValuesToDevice:
        if (!m_inSession) {
            m_log << "demo-device: values outside a session ignored\n";
            return;
        }
        for (const HandheldValue& value : frame.values) {
            OnValue(value);
        }
        return;
    default:
        m_log << "demo-device: frame of kind " << frame.kind << " ignored\n";
    }
}

void DemoSession::Start() {
    m_inSession = false;
    m_pingOutstanding = false;
    m_rowsWritten = 0;
    m_pictureTaps = 0;
    m_charts.Reset();
    if (!Send(EncodeHelloReply(kDemoDeviceName, false))) {
        return;
    }
    if (!Send(EncodePanelDescription(DemoPanel(m_gif), kFlagAckRequested))) {
        return;
    }
    m_log << "demo-device: panel sent\n";
    m_inSession = true;
}

void DemoSession::OnTick() {
    if (!m_inSession) {
        return;
    }
    ++m_ticks;
    m_counter += 7;
    DeviceEntry clock{kIdClock, PackedNow(), {}};
    if (!Send(EncodeValues({clock, U32Entry(kIdCounter, static_cast<uint32_t>(m_counter)),
                            U32Entry(kIdTank, static_cast<uint32_t>(TankLevel()))}))) {
        return;
    }
    WarnOfFullTank();
    SendChartRow();
    if (m_inSession) {
        Send(m_charts.NextRows());
    }
    if (m_ticks % kPingEveryTicks != 0 || !m_inSession) {
        return;
    }
    if (m_pingOutstanding) {
        m_log << "demo-device: the handheld did not answer the last ping\n";
    }
    m_pingOutstanding = Send(EncodeBareFrame(kMsgDevicePing));
}

// The tank fills and drains over a minute and a half.
int32_t DemoSession::TankLevel() const {
    return static_cast<int32_t>(250 + 245 * std::sin(m_ticks / 15.0));
}

// The warning goes up each time the tank rises past the mark: its shown bit is cleared.
void DemoSession::WarnOfFullTank() {
    const bool full = TankLevel() >= kTankWarnAt;
    if (full && !m_tankWarned) {
        Send(EncodeStyleUpdate({StyleEntry(kIdWarning, kFlagIconExclamation | kFlagButtonsOk)}));
    }
    m_tankWarned = full;
}

// One row a second into the ring of the chart; the cursor tells the handheld how full it is.
void DemoSession::SendChartRow() {
    const double t = m_rowsWritten;
    std::vector<uint8_t> cells = CellBytes(static_cast<int32_t>(215 + 40 * std::sin(t / 5)));
    const std::vector<uint8_t> load = CellBytes(static_cast<int32_t>(400 + 300 * std::sin(t / 3)));
    cells.insert(cells.end(), load.begin(), load.end());
    const uint32_t position = m_rowsWritten % kChartRows;
    ++m_rowsWritten;
    const uint32_t oldest = m_rowsWritten % kChartRows;
    const int32_t cursor = m_rowsWritten <= kChartRows ? static_cast<int32_t>(m_rowsWritten)
                           : oldest == 0               ? static_cast<int32_t>(kChartRows)
                                                       : -static_cast<int32_t>(oldest);
    Send(EncodeMatrixRows(
        {MatrixRowEntry(kIdChart, cells, {}, static_cast<uint32_t>(cursor), position)}));
}

void DemoSession::OnValue(const HandheldValue& value) {
    const uint8_t first = value.bytes.empty() ? 0 : value.bytes[0];
    switch (value.id) {
    case kIdLamp:
        OnLamp(first != 0);
        return;
    case kIdModeA:
    case kIdModeB:
        if (first != 0) {
            SetStatus(value.id == kIdModeA ? "Mode A selected" : "Mode B selected");
        }
        return;
    case kIdAsk:
        OnAsk();
        return;
    case kIdQuestion:
        OnAnswer(first);
        return;
    case kIdDetails:
        SetStatus(first != 0 ? "Details opened" : "Details closed");
        return;
    case kIdLogin:
        OnPassword(value.bytes);
        return;
    case kIdNotes:
        OnNotesRequested();
        return;
    case kIdReport:
        SendTextFile(kIdReport, u"\\My Documents\\demo-report.txt",
                     "Report: " + std::to_string(m_ticks) + " seconds in session.\r\n");
        return;
    case kIdHorn:
        SetStatus(first != 0 ? "Horn sounding" : "Horn quiet");
        return;
    case kIdAuto:
        SetStatus(first != 0 ? "Automatic on" : "Automatic off");
        return;
    case kIdWarning:
        SetStatus("Warning seen");
        return;
    case kIdPicture:
        SetStatus("Picture tapped " + std::to_string(++m_pictureTaps) + " times");
        return;
    case kIdSetpoint:
    case kIdSpeed:
    case kIdFlow:
    case kIdVolume:
    case kIdProgram:
        OnNumber(value);
        return;
    case kIdAlarm:
    case kIdService:
    case kIdRestDay:
        OnDateTime(value);
        return;
    case kIdNote:
    case kIdPin:
        OnText(value);
        return;
    default:
        m_log << "demo-device: value for control " << value.id << " (" << value.bytes.size()
              << " bytes)\n";
    }
}

// The lamp latch colours the status line.
void DemoSession::OnLamp(bool on) {
    m_log << "demo-device: lamp " << (on ? "on" : "off") << "\n";
    if (!Send(EncodeStyleUpdate({StyleEntry(kIdStatus, kStyleHasColour, on ? kYellow : kWhite)}))) {
        return;
    }
    SetStatus(on ? "Lamp is on" : "Lamp is off");
}

// New text for the message box, then its hidden bit cleared: the handheld puts it up.
void DemoSession::OnAsk() {
    m_log << "demo-device: asking the user\n";
    if (!Send(EncodeValues(
            {TextEntry(kIdQuestion, u"Do you like this demo?", false, kQuestionChars)}))) {
        return;
    }
    Send(EncodeStyleUpdate({StyleEntry(kIdQuestion, kFlagIconQuestion | kFlagButtonsYesNo)}));
}

void DemoSession::OnAnswer(uint8_t answer) {
    const std::string said = answer == 1 ? "Yes" : answer == 2 ? "No" : std::to_string(answer);
    m_log << "demo-device: the user answered " << said << "\n";
    SetStatus("You answered " + said);
}

// Two 34-byte fields: a log-in carries the password and an empty second field, a log-out two
// empty fields, a change the old and the new password.
void DemoSession::OnPassword(const std::vector<uint8_t>& fields) {
    const std::string first = FieldText(fields, 0, kPasswordField);
    const std::string second = FieldText(fields, kPasswordField, kPasswordField);
    if (first.empty() && second.empty()) {
        Send(EncodeValues({ByteEntry(kIdLogin, 0)}));
        SetStatus("Logged out");
        return;
    }
    if (!second.empty()) {
        SetStatus("The demo keeps its password");
        return;
    }
    const bool good = first == "demo";
    Send(EncodeValues({ByteEntry(kIdLogin, good ? 1 : 0)}));
    SetStatus(good ? "Logged in" : "Wrong password (try demo)");
}

void DemoSession::OnNotesRequested() {
    SendTextFile(kIdNotes, u"\\My Documents\\demo-notes.txt",
                 "Notes from the Kestrovane demo device.\r\nCounter at " +
                     std::to_string(m_counter) + ".\r\n");
}

void DemoSession::SendTextFile(uint32_t id, const std::u16string& path, const std::string& text) {
    m_log << "demo-device: sending a file to control " << id << "\n";
    DeviceFile file{path, false, std::vector<uint8_t>(text.begin(), text.end())};
    Send(EncodeFileTransfer(id, {file}, kFlagAckRequested));
}

std::string DemoSession::NameOf(uint32_t id) {
    switch (id) {
    case kIdSetpoint:
        return "Setpoint raw";
    case kIdSpeed:
        return "Speed item";
    case kIdFlow:
        return "Flow";
    case kIdVolume:
        return "Volume";
    case kIdProgram:
        return "Program item";
    case kIdAlarm:
        return "Alarm";
    case kIdService:
        return "Service";
    case kIdRestDay:
        return "Rest day";
    case kIdPin:
        return "PIN of";
    default:
        return "Note:";
    }
}

void DemoSession::OnNumber(const HandheldValue& value) {
    if (value.bytes.size() >= 4) {
        const auto number = static_cast<int32_t>(GetU32(value.bytes.data()));
        SetStatus(NameOf(value.id) + " " + std::to_string(number));
    }
}

// Second, minute, hour, day, weekday, month, year.
void DemoSession::OnDateTime(const HandheldValue& value) {
    const std::vector<uint8_t>& b = value.bytes;
    if (b.size() < 8) {
        return;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%s %02u.%02u.%u %02u:%02u day %u", NameOf(value.id).c_str(),
                  b[3], b[5], b[6] | (b[7] << 8), b[2], b[1], b[4]);
    SetStatus(text);
}

// UTF-16 with its terminator; the PIN is not echoed, only its length.
void DemoSession::OnText(const HandheldValue& value) {
    std::string text;
    for (size_t i = 0; i + 1 < value.bytes.size() && value.bytes[i] != 0; i += 2) {
        text += static_cast<char>(value.bytes[i]);
    }
    if (value.id == kIdPin) {
        SetStatus(NameOf(value.id) + " " + std::to_string(text.size()) + " digits");
        return;
    }
    SetStatus(NameOf(value.id) + " " + text);
}

void DemoSession::SetStatus(const std::string& text) {
    Send(EncodeValues({TextEntry(kIdStatus, Widen(text), false, kStatusBytes)}));
}

void DemoSession::OnHangUp() {
    if (m_inSession) {
        m_log << "demo-device: the handheld closed the port; waiting for it to come back\n";
    }
    m_inSession = false;
}

void DemoSession::SayGoodbye() {
    if (!m_inSession) {
        return;
    }
    m_log << "demo-device: Goodbye\n";
    Send(EncodeBareFrame(kMsgGoodbyeFromDevice));
    m_inSession = false;
}

} // namespace ksv::demo
