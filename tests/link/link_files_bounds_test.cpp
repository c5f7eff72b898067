#include "link_test_fixture.h"

#include "link/pending_file.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace ksv::testing {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

void WriteBytes(const fs::path& path, size_t count) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << std::string(count, 'x');
}

// The id of a process that has ended.
pid_t EndedPid() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    return child;
}

class FilesBounds : public LinkOverPty {
protected:
    FilesBounds() {
        limits.deviceQuotaBytes = 100;
        limits.allFilesQuotaBytes = 150;
    }

    // A transfer of `bytes` bytes named `name` by a device that calls itself `device`.
    int32_t SendFile(const std::u16string& device, const std::u16string& name, size_t bytes) {
        DeliverNext(EncodeHelloReply(device, false));
        return DeliverNext(EncodeFileTransfer(4, {{name, false, std::vector<uint8_t>(bytes, 1)}}));
    }
    fs::path Files() const { return device.Paths().filesRoot; }
};

// One device that named itself anew for each transfer wrote past the quota of a device; a
// refusal also said the message "could not be read completely".
TEST_F(FilesBounds, TheQuotaHoldsAcrossDeviceNamesAndEachRefusalNamesItsCause) {
    Deliver(EncodePanelDescription({DeviceControl('F', 0, 4)}));
    EXPECT_EQ(SendFile(u"One", u"a.bin", 60), kArrivalFilesArrived);
    EXPECT_EQ(SendFile(u"Two", u"a.bin", 60), kArrivalFilesArrived);
    EXPECT_EQ(SendFile(u"Three", u"a.bin", 60), kArrivalError);
    EXPECT_EQ(reporter.Values().back(), EDQUOT);
    EXPECT_EQ(reporter.Reasons().back(), ReportReason::FilesQuotaReached);
    EXPECT_FALSE(fs::exists(Files() / "Three" / "a.bin"));
    EXPECT_EQ(SendFile(u"Three", u"b.bin", 30), kArrivalFilesArrived);

    EXPECT_EQ(SendFile(u"Three", u"\\..\\escape.bin", 1), kArrivalError);
    EXPECT_EQ(reporter.Values().back(), kFileNotCreated);
    EXPECT_EQ(reporter.Reasons().back(), ReportReason::FileNameRefused);
    EXPECT_EQ(std::string(ReasonSentence(ReportReason::FileNameRefused)).find("free space"),
              std::string::npos);
    EXPECT_EQ(
        std::string(ReasonSentence(ReportReason::FilesQuotaReached)).find("could not be read"),
        std::string::npos);
}

// A process killed mid-transfer left its temporary file behind, counted against the quota.
TEST(LeftoverIncoming, FilesOfEndedTransfersAreRemovedAtStartAndNeverCounted) {
    PtyDevice device;
    const fs::path folder = fs::path(device.Paths().filesRoot) / "Pump";
    const fs::path left = folder / (".incoming-" + std::to_string(EndedPid()) + "-7");
    const fs::path live = folder / "sub" / (".incoming-" + std::to_string(getpid()) + "-7");
    WriteBytes(left, 500);
    WriteBytes(live, 500);
    MemorySettingsStore settings;
    ThreadSafeReporter reporter;
    LinkLimits limits;
    limits.deviceQuotaBytes = 100;
    Link link(settings, reporter, device.Paths(), limits);
    link.LinkInit();
    EXPECT_FALSE(fs::exists(left));
    EXPECT_TRUE(fs::exists(live)) << "a running transfer's file stays";

    ArrivalCounter arrivals;
    ASSERT_EQ(link.OpenPort(device.PortNumber(), &arrivals), kSuccess);
    device.Drain();
    EXPECT_EQ(DeliverFrom(device, link, arrivals, EncodeHelloReply(u"Pump", false)),
              kArrivalDeviceName);
    link.StartReceiver(&arrivals);
    EXPECT_EQ(DeliverFrom(device, link, arrivals,
                          EncodeFileTransfer(4, {{u"a.bin", false, std::vector<uint8_t>(90, 1)}})),
              kArrivalFilesArrived);
    EXPECT_TRUE(reporter.Values().empty());
}

// The stall limit measured silence only: a byte every so often held a transfer open for ever.
class DribblingDevice : public LinkOverPty {
protected:
    DribblingDevice() { limits.frameStallMs = 1000; }
};

TEST_F(DribblingDevice, AFrameThatComesTooSlowlyIsGivenUp) {
    const std::vector<uint8_t> frame =
        EncodeFileTransfer(4, {{u"slow.bin", false, std::vector<uint8_t>(64, 1)}}).Frame();
    device.Write(std::vector<uint8_t>(frame.begin(), frame.begin() + kFramePrefixSize));
    std::atomic<bool> stop{false};
    std::thread dribbler([&] {
        for (size_t at = kFramePrefixSize; at < frame.size() && !stop; ++at) {
            device.Write({frame[at]});
            std::this_thread::sleep_for(milliseconds(400)); // the device's pace, inside the stall
        }
    });
    const bool givenUp = arrivals.WaitFor(1, std::chrono::seconds(8));
    stop = true;
    dribbler.join();
    ASSERT_TRUE(givenUp) << "the dribbled frame was never given up";
    EXPECT_EQ(link->GetArrivalCode(), kArrivalError);
    EXPECT_EQ(reporter.Values().back(), ETIMEDOUT);
    EXPECT_EQ(reporter.Reasons().back(), ReportReason::MessageStalled);
}

} // namespace
} // namespace ksv::testing
