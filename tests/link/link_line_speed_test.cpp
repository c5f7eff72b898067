#include "link/frame.h"
#include "link/line_speed.h"
#include "link/link.h"
#include "link/open_failure.h"
#include "platform/memory_settings_store.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <termios.h>

namespace ksv::testing {
namespace {

// A link on a pseudo-terminal whose COM entry names the slave with a speed.
class LineSpeedOverPty : public ::testing::Test {
protected:
    void WriteEntry(const std::string& line) {
        const std::string entry =
            device.Paths().portsFolder + "/COM" + std::to_string(device.PortNumber());
        std::filesystem::remove(entry);
        std::ofstream(entry) << line << "\n";
    }
    ResultCode Open(Link& on) {
        on.LinkInit();
        return on.OpenPort(device.PortNumber(), &arrivals);
    }

    PtyDevice device;
    MemorySettingsStore settings;
    ThreadSafeReporter reporter;
    ArrivalCounter arrivals;
    Link link{settings, reporter, device.Paths()};
};

TEST_F(LineSpeedOverPty, TheDeviceSideReadsBackTheEntrysSpeed) {
    WriteEntry(device.SlavePath() + " 9600");
    ASSERT_EQ(Open(link), kSuccess);
    const termios tio = device.DeviceSideSettings();
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_EQ(cfgetispeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8)) << "still raw 8N1";
    ASSERT_TRUE(device.Read(kFramePrefixSize)) << "Hello sent";
}

TEST_F(LineSpeedOverPty, ARateWithoutATermiosCodeGoesThroughTheArbitraryRate) {
    WriteEntry(device.SlavePath() + " 250000");
    ASSERT_EQ(Open(link), kSuccess);
    EXPECT_EQ(device.DeviceSideSpeed(), 250000u);
    link.ClosePort();
    // A symbolic link entry is the old default.
    std::filesystem::remove(device.Paths().portsFolder + "/COM7");
    std::filesystem::create_symlink(device.SlavePath(), device.Paths().portsFolder + "/COM7");
    ASSERT_EQ(link.OpenPort(device.PortNumber(), &arrivals), kSuccess);
    EXPECT_EQ(device.DeviceSideSpeed(), kDefaultLineSpeed);
}

TEST_F(LineSpeedOverPty, ARefusedSpeedNamesPortAndRateAndLeavesThePortClosed) {
    WriteEntry(device.SlavePath() + " 0");
    EXPECT_EQ(Open(link), kSpeedRefused);
    EXPECT_FALSE(link.IsPortOpen());
    EXPECT_EQ(device.Drain(), 0u) << "nothing sent";
    const PortEntry entry{device.SlavePath(), 0};
    EXPECT_EQ(DescribeOpenFailure(kSpeedRefused, entry),
              device.SlavePath() + " does not take 0 baud: choose another speed in Settings > "
                                   "Com Ports...");
}

TEST_F(LineSpeedOverPty, ASecondProgramFindsThePortInUseAndSendsNothing) {
    ASSERT_EQ(Open(link), kSuccess);
    ASSERT_TRUE(device.Read(kFramePrefixSize)) << "the first one's Hello";
    Link second(settings, reporter, device.Paths());
    EXPECT_EQ(Open(second), static_cast<ResultCode>(EBUSY));
    EXPECT_FALSE(second.IsPortOpen());
    EXPECT_EQ(device.Drain(), 0u);
    EXPECT_EQ(DescribeOpenFailure(static_cast<ResultCode>(EBUSY), {device.SlavePath(), 9600}),
              device.SlavePath() + " is in use by another program.");
    // Free again once the first one lets go.
    link.ClosePort();
    EXPECT_EQ(second.OpenPort(device.PortNumber(), &arrivals), kSuccess);
}

TEST(OpenFailure, SaysWhatIsWrongWithTheDevice) {
    const PortEntry entry{"/dev/ttyUSB7", 9600};
    EXPECT_EQ(DescribeOpenFailure(static_cast<ResultCode>(ENOENT), entry),
              "/dev/ttyUSB7 is missing: plug the device in or switch it on, or choose another "
              "port.");
    const std::string denied = DescribeOpenFailure(static_cast<ResultCode>(EACCES), entry);
    EXPECT_EQ(denied.rfind("No permission to open /dev/ttyUSB7: sudo usermod -aG ", 0), 0u);
    EXPECT_NE(denied.find(" $USER, then log in again."), std::string::npos);
    EXPECT_EQ(DescribeOpenFailure(kAlreadyOpen, entry), "");
}

} // namespace
} // namespace ksv::testing
