#pragma once

#include "demo_charts.h"
#include "handheld_frames.h"
#include "link/device_encoder.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace ksv::demo {

inline constexpr char16_t kDemoDeviceName[] = u"Kestrovane Demo";

// What the demo device says and does in a session with the handheld, apart from the port:
// it answers the handheld's frames, pushes live values once a second, pings the handheld now and
// then and reacts to the user's changes.
class DemoSession {
public:
    // Writes one whole frame; false when the port is gone.
    using Sender = std::function<bool(const DeviceMessage&)>;

    DemoSession(Sender send, std::ostream& log);

    void OnFrame(const HandheldFrame& frame);
    void OnTick(); // once a second
    void OnHangUp();
    void SayGoodbye(); // the device is stopping

    bool InSession() const { return m_inSession; }

private:
    void Start();
    void OnValue(const HandheldValue& value);
    void OnLamp(bool on);
    void OnAsk();
    void OnAnswer(uint8_t answer);
    void OnPassword(const std::vector<uint8_t>& fields);
    void OnNotesRequested();
    void OnNumber(const HandheldValue& value);
    void OnDateTime(const HandheldValue& value);
    void OnText(const HandheldValue& value);
    static std::string NameOf(uint32_t id);
    void SendTextFile(uint32_t id, const std::u16string& path, const std::string& text);
    int32_t TankLevel() const;
    void WarnOfFullTank();
    void SendChartRow();
    void SetStatus(const std::string& text);
    bool Send(const DeviceMessage& message);

    Sender m_send;
    std::ostream& m_log;
    std::vector<uint8_t> m_gif;
    bool m_inSession = false;
    bool m_pingOutstanding = false;
    uint32_t m_ticks = 0;
    uint32_t m_rowsWritten = 0;
    int32_t m_counter = 0;
    uint32_t m_pictureTaps = 0;
    DemoCharts m_charts;
    bool m_tankWarned = false;
};

} // namespace ksv::demo
