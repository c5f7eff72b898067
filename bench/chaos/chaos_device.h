#pragma once

#include "chaos_frames.h"
#include "handheld_frames.h"
#include "pty_port.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace ksv::chaos {

// What the device did, for the report.
struct ChaosCounts {
    std::atomic<uint64_t> frames{0}; // frames (whole or cut off) written to the handheld
    std::atomic<uint64_t> faults{0}; // hostile acts
    std::atomic<uint64_t> hellos{0}; // Hello frames the handheld sent
    std::atomic<uint64_t> pingsIgnored{0};
};

// A device on a pseudo-terminal registered as COM<n> that answers the handheld's Hello with a
// panel, then keeps it busy with a random mix of hostile acts: frames cut off in the middle,
// vanishing and coming back, noise, announcements past every budget, floods of values at full
// speed, file transfers with escaping names, layout bursts and pings left unanswered. It always
// reads what the handheld sends. Runs on its own thread between Start and Stop.
class ChaosDevice {
public:
    ChaosDevice(int portNumber, std::string portsFolder, uint32_t seed);
    ~ChaosDevice();
    ChaosDevice(const ChaosDevice&) = delete;
    ChaosDevice& operator=(const ChaosDevice&) = delete;

    void Start();
    void Stop();
    const ChaosCounts& Counts() const { return m_counts; }

private:
    using Clock = std::chrono::steady_clock;

    void Loop();
    void Reopen();
    void InjectFault();
    // Reads and answers the handheld for `duration`; with `answer` false only reads (the
    // frames wait until the device answers again).
    void Serve(std::chrono::milliseconds duration, bool answer = true);
    void AnswerPending();
    void Answer(const demo::HandheldFrame& frame);
    // Writes all of `bytes` (one frame or noise), reading the handheld meanwhile. False when the
    // handheld is gone or does not take them in time.
    bool Send(const std::vector<uint8_t>& bytes, bool countFrame = true);
    void ReadAvailable();

    int m_portNumber;
    std::string m_portsFolder;
    ChaosFrames m_frames;
    std::unique_ptr<demo::PtyPort> m_port;
    demo::HandheldFrameParser m_parser;
    std::vector<demo::HandheldFrame> m_pending; // read, not answered yet
    bool m_answerPings = true;
    bool m_sessionOpen = false;
    ChaosCounts m_counts;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace ksv::chaos
