// A session with the demo device recorded, then replayed by the demo device program with
// --replay against a fresh client: the same panel and the same final values. And recordings
// that are cut short, corrupt or too new are refused with their byte offset.

#include "link/frame.h"
#include "link/link.h"
#include "platform/memory_settings_store.h"
#include "replay_script.h"
#include "tests/support/recording_sinks.h"
#include "traffic/recording_format.h"
#include "traffic/recording_writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace ksv::demo {
namespace {

using namespace std::chrono_literals;
constexpr int kPort = 9;

// Restarts the receiver after each arrival, as the view does, and remembers the last code.
class Restarter : public ArrivalSink {
public:
    explicit Restarter(Link& link) : m_link(link) {}
    void PostArrival() override {
        last = m_link.GetArrivalCode();
        ++arrivals;
        if (last != kArrivalDeviceEnded) {
            m_link.StartReceiver(this);
        }
    }
    void PostLinkLost(ResultCode) override { lost = true; }
    std::atomic<int32_t> last{kArrivalNone};
    std::atomic<int> arrivals{0};
    std::atomic<bool> lost{false};

private:
    Link& m_link;
};

template <typename Condition> bool WaitUntil(Condition condition, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// The demo device program, stopped with SIGTERM when it goes.
class DeviceProcess {
public:
    DeviceProcess(const std::string& portsFolder, std::vector<std::string> extra) {
        std::vector<std::string> args = {KSV_DEMO_DEVICE, "--port", std::to_string(kPort),
                                         "--ports-folder", portsFolder};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn(&m_pid, KSV_DEMO_DEVICE, nullptr, nullptr, argv.data(), environ);
    }
    ~DeviceProcess() { Stop(); }
    void Stop() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

private:
    pid_t m_pid = -1;
};

class RecordAndReplay : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() / ("ksv-replay-" + std::to_string(getpid()));
        std::filesystem::create_directories(root / "ports");
        paths = LinkPaths{(root / "ports").string(), (root / "files").string()};
    }
    void TearDown() override {
        if (!getenv("KSV_KEEP"))
            std::filesystem::remove_all(root);
    }

    struct Outcome {
        std::vector<std::string> lines; // the store's panel and values, one line per control
        int arrivals = 0;
    };

    // Connects a fresh client with `tap`. With `stop`, calls it once the panel and a few pushes
    // are there and waits for the end (the device's Goodbye, or the line hanging up when the
    // device's last bytes went with it); otherwise waits for `arrivals`. Then reads the store.
    Outcome Session(LinkTap* tap, const std::function<void()>& stop, int arrivals = 0) {
        MemorySettingsStore settings;
        testing::ThreadSafeReporter reporter;
        Link link(settings, reporter, paths);
        link.SetTap(tap);
        link.LinkInit();
        Restarter sink(link);
        const bool registered =
            WaitUntil([&] { return std::filesystem::exists(root / "ports" / "COM9"); }, 10s);
        EXPECT_TRUE(registered);
        EXPECT_EQ(link.OpenPort(kPort, &sink), kSuccess);
        EXPECT_TRUE(WaitUntil([&] { return link.Store().GetControlCount() > 0; }, 10s));
        // A few of the device's pushes after the panel.
        EXPECT_TRUE(WaitUntil([&] { return sink.arrivals >= 8; }, 10s));
        if (stop) {
            stop();
            EXPECT_TRUE(
                WaitUntil([&] { return sink.last == kArrivalDeviceEnded || sink.lost; }, 20s));
        } else {
            EXPECT_TRUE(WaitUntil([&] { return sink.arrivals >= arrivals; }, 20s));
        }
        Outcome outcome;
        outcome.arrivals = sink.arrivals;
        std::vector<std::string>& lines = outcome.lines;
        StoreLock lock(link.Store());
        for (const ControlRecord& record : lock.Records()) {
            uint32_t size = 0;
            link.Store().GetControlValue(record.id, nullptr, &size);
            std::vector<uint8_t> value(size);
            link.Store().GetControlValue(record.id, value.data(), &size);
            lines.push_back(std::to_string(record.id) + " " + std::to_string(record.kind) + " " +
                            std::string(record.caption.begin(), record.caption.end()) + " " +
                            std::string(value.begin(), value.end()));
        }
        return outcome;
    }

    std::filesystem::path root;
    LinkPaths paths;
};

TEST_F(RecordAndReplay, AReplayedSessionGivesTheSamePanelAndFinalValues) {
    const std::string recording = (root / "session.rec").string();
    Outcome recorded;
    {
        RecordingWriter writer;
        ASSERT_TRUE(writer.Open(recording));
        DeviceProcess device(paths.portsFolder, {});
        recorded = Session(&writer, [&device] { device.Stop(); }); // Goodbye on SIGTERM
        EXPECT_EQ(writer.Failure(), "");
    }
    ASSERT_FALSE(recorded.lines.empty());

    std::filesystem::remove(root / "ports" / "COM9");
    DeviceProcess replay(paths.portsFolder, {"--replay", recording, "--speed", "4"});
    const Outcome replayed = Session(nullptr, nullptr, recorded.arrivals);
    EXPECT_EQ(replayed.lines, recorded.lines);
    EXPECT_EQ(replayed.arrivals, recorded.arrivals);
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> Header(uint32_t version) {
    std::vector<uint8_t> bytes(kRecordingMagic.begin(), kRecordingMagic.end());
    PutU32(bytes, version);
    PutU32(bytes, 0);
    return bytes;
}

void PutRecord(std::vector<uint8_t>& out, uint64_t micros, uint8_t type,
               const std::vector<uint8_t>& data, std::optional<uint32_t> length = {}) {
    PutU32(out, static_cast<uint32_t>(micros));
    PutU32(out, static_cast<uint32_t>(micros >> 32));
    out.push_back(type);
    PutU32(out, length.value_or(static_cast<uint32_t>(data.size())));
    PutBytes(out, data.data(), data.size());
}

TEST_F(RecordAndReplay, BadRecordingsAreToldWithTheirByteOffset) {
    const std::string path = (root / "bad.rec").string();
    struct Case {
        std::vector<uint8_t> bytes;
        bool loads;
        std::string message;
    };
    std::vector<uint8_t> good = Header(1);
    PutRecord(good, 0, 2, {});
    PutRecord(good, 10, 1, {1, 2, 3});
    PutRecord(good, 500, 0, {4, 5});
    std::vector<uint8_t> badType = good;
    PutRecord(badType, 600, 7, {});
    std::vector<uint8_t> hugeLength = good;
    PutRecord(hugeLength, 600, 0, {}, 0xfffffff0u);
    std::vector<uint8_t> backwards = good;
    PutRecord(backwards, 5, 0, {9});
    const std::vector<uint8_t> cut(good.begin(), good.end() - 1);

    const std::vector<Case> cases = {
        {{'n', 'o', 'p', 'e'}, false, "not a Kestrovane recording (no recording header at byte 0)"},
        {Header(2), false,
         "made by a newer Kestrovane (format 2 at byte 8); this one reads format 1"},
        {badType, false, "corrupt at byte 68: unknown record type 7"},
        {hugeLength, false, "corrupt at byte 69: impossible record length 4294967280"},
        {backwards, false, "corrupt at byte 60: time runs backwards"},
        {cut, true, "cut short at byte 45: a record of 2 bytes holds only 1"},
    };
    for (const Case& c : cases) {
        WriteFile(path, c.bytes);
        ReplayScript script;
        std::string error;
        EXPECT_EQ(LoadReplayScript(path, script, error), c.loads) << c.message;
        const std::string& said = c.loads ? script.warning : error;
        EXPECT_NE(said.find(c.message), std::string::npos) << said;
    }

    WriteFile(path, good);
    ReplayScript script;
    std::string error;
    ASSERT_TRUE(LoadReplayScript(path, script, error)) << error;
    ASSERT_EQ(script.chunks.size(), 1u);
    EXPECT_EQ(script.chunks[0].micros, 490u); // after the client's first bytes
    EXPECT_EQ(script.chunks[0].bytes, (std::vector<uint8_t>{4, 5}));
}

} // namespace
} // namespace ksv::demo
