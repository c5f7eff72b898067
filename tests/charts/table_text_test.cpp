#include "charts/table_text.h"
#include "charts/text_file.h"
#include "matrix_builder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace ksv {
namespace {

std::string Narrow(const MatrixData& m, char16_t separator) {
    const std::vector<uint8_t> bytes = EncodeTableText(MatrixTable(m), separator, false);
    return std::string(bytes.begin(), bytes.end());
}

MatrixData TwoSeries() {
    MatrixData m = MakeMatrix(3, 2, {{215, 216, 0}, {1013, 1012, 0}});
    SetXLabels(m, {u"12:00", u"12:01"});
    m.m_xTitle = u"Time";
    m.m_pSeriesNames = {u"T", u"P"};
    m.m_yTemplate = u"%%";
    m.m_yExponent = 0;
    return m;
}

TEST(TableText, HeadingsQuotedCellsNotAndNothingEscaped) {
    MatrixData m = TwoSeries();
    m.m_yExponent = -1;
    m.m_pSeriesNames[1] = u"P \"hPa\"";
    m.m_yTemplate = u"%% °";
    EXPECT_EQ(Narrow(m, u','), "\"Time\",\"T\",\"P \"hPa\"\"\r\n"
                               "12:00,21.5 \xB0,101.3 \xB0\r\n"
                               "12:01,21.6 \xB0,101.2 \xB0\r\n");
}

TEST(TableText, WithoutXOrRowsOnlyWhatTheTableHas) {
    MatrixData m = TwoSeries();
    m.m_flags &= ~0x00030000u; // X kind None: series columns only
    EXPECT_EQ(Narrow(m, u';'), "\"T\";\"P\"\r\n215;1013\r\n216;1012\r\n");
    m.m_nPoints = 0;
    EXPECT_EQ(Narrow(m, u';'), "\"T\";\"P\"\r\n");
}

TEST(TableText, AFullRingListsTheOldestRowFirst) {
    MatrixData m = MakeMatrix(3, -1, {{30, 10, 20}});
    m.m_yTemplate = u"%%";
    EXPECT_EQ(Narrow(m, u';'), "\"\"\r\n10\r\n20\r\n30\r\n");
}

TEST(TableText, WideControlsWriteTwoBytesACharacter) {
    MatrixData m = TwoSeries();
    m.m_flags |= 0x00000004;
    m.m_nPoints = 1;
    m.m_pSeriesNames = {u"\u20AC", u"P"}; // beyond the code page: kept in 16-bit mode
    const std::vector<uint8_t> bytes = EncodeTableText(MatrixTable(m), u';', true);
    const std::u16string expected = u"\"Time\";\"\u20AC\";\"P\"\r\n12:00;215;1013\r\n";
    ASSERT_EQ(bytes.size(), expected.size() * 2);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(bytes[2 * i], expected[i] & 0xFF) << i;
        EXPECT_EQ(bytes[2 * i + 1], expected[i] >> 8) << i;
    }
    EXPECT_EQ(bytes[12], 0x3B); // the first separator, after "Time"
    EXPECT_EQ(bytes[13], 0x00);
}

TEST(TableText, ListTextsStopAtNulAndAtTheListLimit) {
    EXPECT_EQ(ListText(std::u16string(u"ab\0cd", 5)), u"ab");
    EXPECT_EQ(ListText(std::u16string(5000, u'x')).size(), kMaxListText);
}

TEST(TextFile, FailuresNameTheStepAndTheError) {
    char folder[] = "/tmp/ksv-table-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;

    const std::string good = dir + "/t.TXT";
    EXPECT_TRUE(WriteWholeFile(good, {'a', 'b'}).Ok());
    EXPECT_TRUE(WriteWholeFile(good, {'c'}).Ok()); // truncated, not appended
    std::ifstream in(good, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "c");

    FileWriteResult r = WriteWholeFile(dir + "/missing/t.TXT", {'a'});
    EXPECT_EQ(r.failed, FileWriteResult::Step::Open);
    EXPECT_EQ(r.error, ENOENT);
    r = WriteWholeFile("/dev/full", {'a'});
    EXPECT_EQ(r.failed, FileWriteResult::Step::Write);
    EXPECT_EQ(r.error, ENOSPC);

    const std::string locked = dir + "/locked";
    ASSERT_EQ(mkdir(locked.c_str(), 0500), 0);
    if (access(locked.c_str(), W_OK) != 0) { // not when run as root
        r = WriteWholeFile(locked + "/t.TXT", {'a'});
        EXPECT_EQ(r.failed, FileWriteResult::Step::Open);
        EXPECT_EQ(r.error, EACCES);
    }
    unlink(good.c_str());
    rmdir(locked.c_str());
    rmdir(folder);
}

} // namespace
} // namespace ksv
