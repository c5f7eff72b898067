// Prints the link's latencies over a pseudo-terminal and over loopback TCP:
//  send:    SendChangedValues until the frame's last byte is readable at the device side;
//  receive: the device writing a Values frame until the arrival is posted.
#include "link/device_encoder.h"
#include "link/link.h"
#include "platform/memory_settings_store.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"
#include "tests/support/tcp_device.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFrames = 2000;
constexpr uint32_t kButtonId = 5;
constexpr uint32_t kNumberId = 6;

// Remembers when each arrival was posted.
class TimingSink : public ksv::ArrivalSink {
public:
    void PostArrival() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_postedAt = Clock::now();
        ++m_posts;
        m_changed.notify_all();
    }
    bool WaitFor(int count, Clock::time_point& postedAt) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_posts >= count; })) {
            return false;
        }
        postedAt = m_postedAt;
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Clock::time_point m_postedAt;
    int m_posts = 0;
};

void Print(const char* port, const char* what, std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    const double median = micros[micros.size() / 2];
    const double p99 = micros[micros.size() * 99 / 100];
    std::printf("%-4s %-8s frames %zu  median %.1f us  p99 %.1f us  max %.1f us\n", port, what,
                micros.size(), median, p99, micros.back());
}

double MicrosSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::micro>(end - start).count();
}

// Both latencies over one device; false after printing what went wrong.
bool MeasureLatencies(const char* port, ksv::testing::StreamDevice& device) {
    ksv::MemorySettingsStore settings;
    ksv::testing::ThreadSafeReporter reporter;
    TimingSink sink;
    ksv::Link link(settings, reporter, device.Paths());
    link.LinkInit();
    if (link.OpenPort(device.PortNumber(), &sink) != ksv::kSuccess || !device.Read(20)) {
        std::fprintf(stderr, "cannot open the link on %s\n", port);
        return false;
    }
    int posts = 0;
    Clock::time_point postedAt;
    device.Write(ksv::EncodePanelDescription(
                     {ksv::DeviceControl('B', 0, kButtonId).ValueByte(0),
                      ksv::DeviceControl('N', 0, kNumberId).ValueU32(0).U32('x', 1000000)})
                     .Frame());
    if (!sink.WaitFor(++posts, postedAt) || link.GetArrivalCode() != ksv::kArrivalNewPanel) {
        std::fprintf(stderr, "the panel did not arrive\n");
        return false;
    }

    const size_t valuesFrameSize = 20 + 4 + 4 + 4 + 1;
    std::vector<double> send;
    for (int i = 0; i < kFrames; ++i) {
        const uint8_t pressed = 1;
        link.Store().SetControlValue(kButtonId, &pressed, 1);
        const Clock::time_point start = Clock::now();
        if (link.SendChangedValues() != ksv::kSuccess || !device.Read(valuesFrameSize)) {
            std::fprintf(stderr, "send %d failed\n", i);
            return false;
        }
        send.push_back(MicrosSince(start, Clock::now()));
    }

    std::vector<double> receive;
    for (int i = 0; i < kFrames; ++i) {
        const std::vector<uint8_t> frame =
            ksv::EncodeValues({ksv::U32Entry(kNumberId, static_cast<uint32_t>(i))}).Frame();
        link.StartReceiver(&sink);
        const Clock::time_point start = Clock::now();
        device.Write(frame);
        if (!sink.WaitFor(++posts, postedAt)) {
            std::fprintf(stderr, "receive %d: no arrival\n", i);
            return false;
        }
        receive.push_back(MicrosSince(start, postedAt));
    }

    Print(port, "send", send);
    Print(port, "receive", receive);
    link.Disconnect(false);
    return true;
}

} // namespace

int main() {
    ksv::testing::PtyDevice pty;
    ksv::testing::TcpDevice tcp;
    return MeasureLatencies("pty", pty) && MeasureLatencies("tcp", tcp) ? 0 : 1;
}
