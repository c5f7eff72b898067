#include "link/device_encoder.h"
#include "traffic/frame_ring.h"
#include "traffic/frame_summary.h"
#include "traffic/frame_text.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

CapturedFrame Captured(const std::vector<uint8_t>& bytes, TapDirection direction,
                       size_t kept = kKeptFrameBytes) {
    CapturedFrame frame;
    frame.direction = direction;
    frame.length = bytes.size();
    frame.bytes.assign(bytes.begin(), bytes.begin() + std::min(kept, bytes.size()));
    return frame;
}

CapturedFrame FromDevice(const DeviceMessage& message) {
    return Captured(message.Frame(), TapDirection::kReceived);
}

TEST(FrameSummary, NamesWhatEachKindCarries) {
    EXPECT_EQ(FrameSummary(FromDevice(EncodeValues({ByteEntry(0x301, 0xff)}))),
              "Values  #0x301 = ff");
    EXPECT_EQ(FrameSummary(FromDevice(EncodeStyleUpdate({StyleEntry(0x17, 0x00050000)}))),
              "StyleUpdate  #0x17 flags 0x00050000");
    EXPECT_EQ(FrameSummary(FromDevice(EncodeStyleUpdate({StyleEntry(0x17, 0x51, 0xff)}))),
              "StyleUpdate  #0x17 flags 0x00000051 colour 0x0000ff");
    EXPECT_EQ(FrameSummary(FromDevice(EncodeValues({ByteEntry(1, 2), U32Entry(0x20, 7)}))),
              "Values  #0x1 = 02, #0x20 = 07 00 00 00");
    EXPECT_EQ(FrameSummary(FromDevice(EncodeHelloReply(u"Pump 3", true))),
              "HelloReply  \"Pump 3\"");
    EXPECT_EQ(FrameSummary(FromDevice(
                  EncodeMatrixRows({MatrixRowEntry(0x40, std::vector<uint8_t>(12, 1), {}, 0, 5)}))),
              "MatrixRows  #0x40 row 5 (20 bytes)");
    EXPECT_EQ(FrameSummary(FromDevice(EncodeLayoutEntries({{0x12, 0x140, 5}}))),
              "LayoutEntries  1 entry: 0x12/0x140 = 5");
    EXPECT_EQ(FrameSummary(FromDevice(EncodeFileTransfer(0x33, {{u"/tmp/a.txt", false, {1, 2}}}))),
              "FileTransfer  #0x33 1 file: /tmp/a.txt (2 bytes)");
    EXPECT_EQ(FrameSummary(FromDevice(EncodeBareFrame(kMsgDevicePing))), "DevicePing");
    EXPECT_EQ(FrameSummary(FromDevice(EncodeBareFrame(3))),
              "Kind 3  not a kind the client accepts");

    CapturedFrame skipped;
    skipped.skipped = true;
    skipped.length = 37;
    EXPECT_EQ(FrameSummary(skipped), "skipped 37 bytes");
    EXPECT_EQ(FrameKindName(skipped), "Skipped");
}

TEST(FrameSummary, LyingCountsAndCutFramesStayWithinTheKeptBytes) {
    // A count of 2^32 - 1 with one entry: decoding stops where the bytes stop.
    DeviceMessage lying = EncodeValues({ByteEntry(0x301, 0xff)});
    lying.payload[0] = lying.payload[1] = lying.payload[2] = lying.payload[3] = 0xff;
    EXPECT_EQ(FrameSummary(FromDevice(lying)), "Values  #0x301 = ff (cut short)");

    // An entry announcing more bytes than the frame holds.
    DeviceEntry big = ByteEntry(9, 1);
    big.announcedLength = 0x7fffffff;
    EXPECT_EQ(FrameSummary(FromDevice(EncodeValues({big}))), "Values  #0x9 = 01 … (cut short)");

    // A big frame kept in part: its summary and dump say so.
    const std::vector<uint8_t> wide(3000, 0xab);
    const CapturedFrame kept = FromDevice(EncodeValues({{0x5, wide, {}}}));
    EXPECT_EQ(kept.bytes.size(), kKeptFrameBytes);
    EXPECT_EQ(kept.PayloadLength(), 3000u + 12u);
    EXPECT_EQ(FrameSummary(kept), "Values  #0x5 = ab ab ab ab ab ab ab ab …");
    EXPECT_NE(HexDump(kept).find("the first 1024 of 3032 bytes are kept"), std::string::npos);

    // Every cut of a frame decodes without reading past it.
    const std::vector<uint8_t> whole =
        EncodeFileTransfer(0x33, {{u"/tmp/a.txt", true, {1, 2}}}).Frame();
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
        CapturedFrame part = Captured(whole, TapDirection::kReceived, cut);
        part.length = cut;
        EXPECT_FALSE(FrameSummary(part).empty()) << cut;
    }
}

TEST(FrameText, LineAndDumpShowEveryColumn) {
    CapturedFrame frame = FromDevice(EncodeValues({ByteEntry(0x301, 0xff)}, kFlagAckRequested));
    frame.micros = 1234567;
    EXPECT_EQ(FrameLine(frame), "1234.567\tin\tValues\t0x0008\t13\tValues  #0x301 = ff");
    const std::string dump = HexDump(frame);
    EXPECT_EQ(dump.substr(0, 56), "0000  5a e3 f1 6b 77 e4 e9 63  00 01 00 00 02 00 01 00  ");
    EXPECT_NE(dump.find("Z..kw..c"), std::string::npos);
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 3); // 33 bytes: three lines
}

} // namespace
} // namespace ksv
