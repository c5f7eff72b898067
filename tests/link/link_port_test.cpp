#include "link/device_folder.h"
#include "link/line_speed.h"
#include "link/port_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ksv {
namespace {

class PortsFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ksv-ports-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string folder;
};

TEST_F(PortsFolder, EntriesNameTheDevice) {
    std::filesystem::create_symlink("/dev/rfcomm0", folder + "/COM3");
    std::ofstream(folder + "/COM4") << "/dev/ttyUSB1\r\nignored\n";
    std::ofstream(folder + "/COM5") << "\n";

    EXPECT_EQ(ResolvePortPath(3, folder), folder + "/COM3"); // opened through the link
    EXPECT_EQ(ResolvePortPath(4, folder), "/dev/ttyUSB1");
    EXPECT_EQ(ResolvePortPath(5, folder), "/dev/ttyS4") << "an empty file names nothing";
    EXPECT_EQ(ResolvePortPath(1, folder), "/dev/ttyS0");
    EXPECT_EQ(ResolvePortPath(12, ""), "/dev/ttyS11");
    EXPECT_TRUE(HasPortEntry(3, folder));
    EXPECT_TRUE(HasPortEntry(4, folder));
    EXPECT_FALSE(HasPortEntry(6, folder));
}

TEST_F(PortsFolder, FileEntriesMayNameASpeedAndLinksRunAtTheDefault) {
    std::filesystem::create_symlink("/dev/rfcomm0", folder + "/COM3");
    std::ofstream(folder + "/COM4") << "/dev/ttyUSB1 9600\r\n";
    std::ofstream(folder + "/COM5") << "/dev/serial/by-id/usb-My Board-if00   250000 \n";
    std::ofstream(folder + "/COM6") << "tcp://10.0.0.2:4000\n";
    std::ofstream(folder + "/COM7") << "/dev/ttyUSB2 99999999999\n";

    EXPECT_EQ(ResolvePortEntry(3, folder).speed, kDefaultLineSpeed);
    EXPECT_EQ(ResolvePortEntry(4, folder).device, "/dev/ttyUSB1");
    EXPECT_EQ(ResolvePortEntry(4, folder).speed, 9600u);
    EXPECT_EQ(ResolvePortEntry(5, folder).device, "/dev/serial/by-id/usb-My Board-if00");
    EXPECT_EQ(ResolvePortEntry(5, folder).speed, 250000u);
    EXPECT_EQ(ResolvePortEntry(6, folder).device, "tcp://10.0.0.2:4000");
    EXPECT_EQ(ResolvePortEntry(7, folder).speed, 0u) << "no rate: refused when opened";
    EXPECT_EQ(ResolvePortEntry(9, folder).speed, kDefaultLineSpeed);
    // A last word that is not all digits is part of the path.
    EXPECT_EQ(ParsePortEntryLine("/dev/my port").device, "/dev/my port");
    EXPECT_EQ(ParsePortEntryLine("/dev/ttyS0 96a").device, "/dev/ttyS0 96a");
}

TEST_F(PortsFolder, WrittenEntriesReadBackAndReplaceWhatWasThere) {
    const std::string sub = folder + "/ports"; // created on demand
    ASSERT_EQ(WritePortEntry(8, sub, "/dev/ttyACM0", kDefaultLineSpeed), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(sub + "/COM8"));
    EXPECT_EQ(ShownDevicePath(sub + "/COM8"), "/dev/ttyACM0");

    ASSERT_EQ(WritePortEntry(8, sub, "/dev/ttyACM0", 9600), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(sub + "/COM8"));
    EXPECT_EQ(ResolvePortEntry(8, sub).device, "/dev/ttyACM0");
    EXPECT_EQ(ResolvePortEntry(8, sub).speed, 9600u);

    ASSERT_EQ(WritePortEntry(8, sub, "tcp://[::1]:5000", kDefaultLineSpeed), 0);
    EXPECT_EQ(ResolvePortEntry(8, sub).device, "tcp://[::1]:5000");
    // Nothing left behind beside the entry.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sub),
                            std::filesystem::directory_iterator()),
              1);
    // A folder that cannot be made: the error, nothing written.
    std::ofstream(folder + "/file") << "x";
    EXPECT_NE(WritePortEntry(8, folder + "/file/ports", "/dev/ttyS0", 9600), 0);
}

TEST(DefaultLinkPaths, FollowXdgFoldersWithHomeFallbacks) {
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    setenv("XDG_DATA_HOME", "/data", 1);
    LinkPaths paths = DefaultLinkPaths();
    EXPECT_EQ(paths.portsFolder, "/cfg/Kestrovane/ports");
    EXPECT_EQ(paths.filesRoot, "/data/Kestrovane/files");

    unsetenv("XDG_CONFIG_HOME");
    setenv("XDG_DATA_HOME", "relative", 1); // not absolute: ignored
    setenv("HOME", "/home/u", 1);
    paths = DefaultLinkPaths();
    EXPECT_EQ(paths.portsFolder, "/home/u/.config/Kestrovane/ports");
    EXPECT_EQ(paths.filesRoot, "/home/u/.local/share/Kestrovane/files");
    unsetenv("XDG_DATA_HOME");
}

TEST(DeviceFilesFolder, DeviceNameBecomesOneSafeComponent) {
    EXPECT_EQ(DeviceFilesFolder("/r", u"Pump 1"), "/r/Pump 1");
    EXPECT_EQ(DeviceFilesFolder("/r", u".."), "/r/_.");
    EXPECT_EQ(DeviceFilesFolder("/r", u"."), "/r/_");
    EXPECT_EQ(DeviceFilesFolder("/r", u"a/b\\c"), "/r/a_b_c");
    EXPECT_EQ(DeviceFilesFolder("/r", std::u16string(u"x\0y", 3)), "/r/x_y");
    EXPECT_EQ(DeviceFilesFolder("/r", u""), "/r/Kestrovane");
    EXPECT_EQ(DeviceFilesFolder("/r", std::nullopt), "/r/Kestrovane");
    EXPECT_EQ(DeviceFilesFolder("/r", u"K\u00f6ln"), "/r/K\xc3\xb6ln");
    EXPECT_EQ(DeviceFilesFolder("/r", std::u16string(500, u'a')), "/r/" + std::string(80, 'a'));
    // A surrogate pair is not cut in half at the limit.
    const std::u16string pairAtLimit = std::u16string(79, u'a') + u"\U0001F600";
    EXPECT_EQ(DeviceFilesFolder("/r", pairAtLimit), "/r/" + std::string(79, 'a'));
}

} // namespace
} // namespace ksv
