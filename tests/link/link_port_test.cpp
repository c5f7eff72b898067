#include "link/device_folder.h"
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
