#include "decoder_test_support.h"

#include "link/frame.h"
#include "link/pending_file.h"
#include "link/received_files.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

namespace ksv {
namespace {

using decoder_testing::StoreFixture;

constexpr uint32_t kWide = 0x00000004;

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Every entry below `folder`, as relative paths.
void ListTree(const std::string& folder, const std::string& prefix, std::set<std::string>& out) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        out.insert(prefix + name);
        ListTree(folder + "/" + name, prefix + name + "/", out);
    }
    closedir(dir);
}

class ReceiveFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char base[] = "/tmp/ksv-files-XXXXXX";
        ASSERT_NE(mkdtemp(base), nullptr);
        m_base = base;
        folder = m_base + "/files/Pump";
        place = FilesPlace{m_base + "/files", "Pump"};
        ASSERT_EQ(f.Load({DeviceControl('F', 0, 12), DeviceControl('F', kWide, 13)}), kSuccess);
    }

    void TearDown() override { std::system(("rm -rf '" + m_base + "'").c_str()); }

    ResultCode Receive(const std::vector<uint8_t>& payload) {
        MemoryReader in(payload);
        const ResultCode rc = ReceiveFiles(in, f.store, f.reporter, place);
        remaining = in.Remaining();
        return rc;
    }

    std::set<std::string> Tree() {
        std::set<std::string> out;
        ListTree(m_base, "", out);
        return out;
    }

    StoreFixture f;
    std::string folder;
    FilesPlace place;
    size_t remaining = 0;
    std::string m_base;
};

TEST_F(ReceiveFilesTest, TwoFilesAreWrittenAndTheFirstIsNamed) {
    const DeviceMessage message = EncodeFileTransfer(
        12, {{u"\\My Documents\\log.txt", false, decoder_testing::Bytes("first")},
             {u"C:\\data\\sub\\b.bin", false, std::vector<uint8_t>(10000, 0x5A)}});
    ASSERT_EQ(Receive(message.payload), kSuccess);
    EXPECT_EQ(ReadWhole(folder + "/My Documents/log.txt"), "first");
    EXPECT_EQ(ReadWhole(folder + "/data/sub/b.bin"), std::string(10000, 'Z'));
    EXPECT_EQ(f.store.GetFileName(12), u"" + Utf8ToUtf16(folder + "/My Documents/log.txt"));
    EXPECT_TRUE(f.store.IsValueUpdated(12));
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(ReceiveFilesTest, WideNamesFollowTheControlFlags) {
    const DeviceMessage message =
        EncodeFileTransfer(13, {{u"\\\u00E9t\u00E9.txt", true, decoder_testing::Bytes("w")}});
    ASSERT_EQ(Receive(message.payload), kSuccess);
    EXPECT_EQ(ReadWhole(folder + "/\xC3\xA9t\xC3\xA9.txt"), "w");
}

TEST_F(ReceiveFilesTest, ZeroFilesOnlyMarksTheControl) {
    ASSERT_EQ(Receive(EncodeFileTransfer(12, {}).payload), kSuccess);
    EXPECT_TRUE(f.store.IsValueUpdated(12));
    EXPECT_TRUE(f.store.GetFileName(12).empty());
    EXPECT_TRUE(Tree().empty());
}

TEST_F(ReceiveFilesTest, HostileNamesAreRefusedAndTheStreamStaysInStep) {
    const DeviceMessage message =
        EncodeFileTransfer(12, {{u"..\\..\\etc\\passwd", false, decoder_testing::Bytes("x")},
                                {u"C:\\a\\..\\b", false, decoder_testing::Bytes("x")},
                                {u"", false, decoder_testing::Bytes("x")},
                                {u"a/./b", false, decoder_testing::Bytes("x")},
                                {u"\\\\", false, decoder_testing::Bytes("x")},
                                {u"/etc/x", false, decoder_testing::Bytes("inside")}});
    EXPECT_EQ(Receive(message.payload), kFileNotCreated);
    EXPECT_EQ(remaining, 0u);
    EXPECT_EQ(Tree(),
              (std::set<std::string>{"files", "files/Pump", "files/Pump/etc", "files/Pump/etc/x"}));
    EXPECT_EQ(ReadWhole(folder + "/etc/x"), "inside");
    EXPECT_TRUE(f.store.GetFileName(12).empty()); // the first file was refused
}

TEST_F(ReceiveFilesTest, OverlongNameIsReadPastAndRefused) {
    std::vector<uint8_t> payload;
    PutU32(payload, 12);
    PutU32(payload, 2);
    PutU32(payload, 70000);
    payload.resize(payload.size() + 70000, 'a');
    PutU32(payload, 3);
    PutBytes(payload, "abc", 3);
    const DeviceMessage good =
        EncodeFileTransfer(12, {{u"ok", false, decoder_testing::Bytes("fine")}});
    payload.insert(payload.end(), good.payload.begin() + 8, good.payload.end());
    EXPECT_EQ(Receive(payload), kFileNotCreated);
    EXPECT_EQ(ReadWhole(folder + "/ok"), "fine");
}

TEST_F(ReceiveFilesTest, BrokenTransferKeepsTheOlderFile) {
    ASSERT_EQ(
        Receive(EncodeFileTransfer(12, {{u"\\keep.txt", false, decoder_testing::Bytes("old")}})
                    .payload),
        kSuccess);
    std::vector<uint8_t> cut =
        EncodeFileTransfer(12, {{u"\\keep.txt", false, std::vector<uint8_t>(9000, 'n')}}).payload;
    cut.resize(cut.size() - 100);
    EXPECT_EQ(Receive(cut), kLinkClosed);
    EXPECT_EQ(ReadWhole(folder + "/keep.txt"), "old");
    EXPECT_EQ(Tree(), (std::set<std::string>{"files", "files/Pump", "files/Pump/keep.txt"}));
}

TEST_F(ReceiveFilesTest, UnknownControlStillStoresNarrowNames) {
    ASSERT_EQ(
        Receive(EncodeFileTransfer(555, {{u"n.txt", false, decoder_testing::Bytes("z")}}).payload),
        kSuccess);
    EXPECT_EQ(ReadWhole(folder + "/n.txt"), "z");
}

TEST_F(ReceiveFilesTest, LinksInTheFilesFolderAreNeverFollowed) {
    const std::string outside = m_base + "/outside";
    mkdir(outside.c_str(), 0700);
    mkdir((m_base + "/files").c_str(), 0700);
    mkdir(folder.c_str(), 0700);
    ASSERT_EQ(symlink(outside.c_str(), (folder + "/evil").c_str()), 0);
    ASSERT_EQ(symlink(outside.c_str(), (m_base + "/files/Linked").c_str()), 0);
    ASSERT_EQ(symlink((outside + "/target").c_str(), (folder + "/leaf").c_str()), 0);
    const DeviceMessage message =
        EncodeFileTransfer(12, {{u"\\evil\\sub\\escaped.txt", false, decoder_testing::Bytes("x")},
                                {u"\\evil\\x.txt", false, decoder_testing::Bytes("x")},
                                {u"\\leaf", false, decoder_testing::Bytes("replaced")}});
    EXPECT_EQ(Receive(message.payload), kFileNotCreated);
    place.deviceFolder = "Linked";
    EXPECT_EQ(Receive(EncodeFileTransfer(12, {{u"\\deep\\x.txt", false, {1}}}).payload),
              kFileNotCreated);
    std::set<std::string> escaped;
    ListTree(outside, "", escaped);
    EXPECT_TRUE(escaped.empty());
    struct stat info {};
    ASSERT_EQ(lstat((folder + "/leaf").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode)) << "the link itself was replaced by the file";
    EXPECT_EQ(ReadWhole(folder + "/leaf"), "replaced");
}

TEST_F(ReceiveFilesTest, TheQuotaRefusesAFileWithoutLeavingAnyOfIt) {
    place.quotaBytes = 100;
    const auto file = [](const char16_t* name, size_t size) {
        return DeviceFile{name, false, std::vector<uint8_t>(size, 'q')};
    };
    EXPECT_EQ(Receive(EncodeFileTransfer(12, {file(u"a", 60), file(u"b", 60)}).payload),
              static_cast<ResultCode>(kPlatformFailure));
    EXPECT_EQ(LastPlatformError(), EDQUOT);
    EXPECT_EQ(remaining, 0u);
    EXPECT_EQ(Tree(), (std::set<std::string>{"files", "files/Pump", "files/Pump/a"}));
    EXPECT_EQ(Receive(EncodeFileTransfer(12, {file(u"a", 90)}).payload), kSuccess)
        << "a file replacing another counts only what it adds";
    EXPECT_EQ(ReadWhole(folder + "/a").size(), 90u);
}

TEST(FreeReserve, FivePercentAtMostOneGibibyte) {
    constexpr uint64_t kGiB = uint64_t{1} << 30;
    struct Case {
        uint64_t size, available, total;
        bool fits;
    };
    const Case cases[] = {
        {40, 100, 1000, true},
        {60, 100, 1000, false},
        {kGiB, 3 * kGiB, 1000 * kGiB, true},
        {kGiB + 1, 2 * kGiB, 1000 * kGiB, false},
        {101, 100, 1000, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeavesFreeReserve(c.size, c.available, c.total), c.fits) << c.size;
    }
}

TEST(MapDevicePath, DropsDrivesAndSeparatorsRefusesEscapes) {
    EXPECT_EQ(MapDevicePath(u"C:\\Temp\\a.txt"), std::string("Temp/a.txt"));
    EXPECT_EQ(MapDevicePath(u"//x//y/"), std::string("x/y"));
    EXPECT_EQ(MapDevicePath(u"d:name"), std::string("name"));
    EXPECT_EQ(MapDevicePath(u"a..b\\.c"), std::string("a..b/.c"));
    EXPECT_FALSE(MapDevicePath(u"C:"));
    EXPECT_FALSE(MapDevicePath(u"a\\..\\b"));
    EXPECT_FALSE(MapDevicePath(u"a\\.\\b"));
    EXPECT_FALSE(MapDevicePath(u"a\x01"
                               u"b"));
    std::u16string deep;
    for (int i = 0; i < 65; ++i) {
        deep += u"\\d";
    }
    EXPECT_FALSE(MapDevicePath(deep));
}

TEST(Utf8, RoundTripsAndReplacesLoneSurrogates) {
    const std::u16string text = u"a\u00E9\u20AC\U0001F600";
    EXPECT_EQ(Utf16ToUtf8(text), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

} // namespace
} // namespace ksv
