#include "chaos_frames.h"

#include "demo_gif.h"
#include "link/frame.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace ksv::chaos {
namespace {

std::vector<uint8_t> Bytes(size_t count, uint8_t value) {
    return std::vector<uint8_t>(count, value);
}

} // namespace

std::vector<uint8_t> ChaosFrames::Panel(uint16_t flags) {
    return EncodePanelDescription(
               {
                   DeviceControl('T', 0, kIdText)
                       .ValueText(u"ready")
                       .U32('m', kTextBytes)
                       .Caption(u"Status"),
                   DeviceControl('N', 0, kIdNumber).ValueU32(0).U32('x', 1000).Caption(u"Level"),
                   DeviceControl('B', 0, kIdButton).ValueByte(0).Caption(u"Go"),
                   DeviceControl('G', 0, kIdLatch).ValueByte(0).U32('r', 1).Caption(u"Lamp"),
                   DeviceControl('M', 0, kIdChart)
                       .U32('n', kChartRows)
                       .U32('N', 2)
                       .ValueBytes(Bytes(kChartRows * 2 * 4 + 4, 0))
                       .Caption(u"Trend"),
                   DeviceControl('L', 0, kIdList)
                       .ValueU32(0)
                       .U32('n', 3)
                       .String('I', u"a\nb\nc")
                       .Caption(u"Mode"),
                   DeviceControl('D', 0, kIdDate).ValueBytes(Bytes(8, 1)).String('f', u"%H:%M:%S"),
                   DeviceControl('O', 0, kIdBlob).ValueBytes({1, 2, 3}).U32('m', 4096),
                   DeviceControl('F', 0, kIdFile).Caption(u"Log"),
                   DeviceControl('S', 0, kIdSection).ValueByte(1).Caption(u"More"),
                   DeviceControl('I', 0, kIdImage).ValueBytes(demo::MakeDemoGif(24)),
               },
               flags)
        .Frame();
}

std::vector<uint8_t> ChaosFrames::Update() {
    const uint16_t flags = Draw(4) == 0 ? kFlagAckRequested : 0;
    if (Draw(3) == 0) {
        std::vector<DeviceEntry> rows;
        for (uint32_t i = 0, n = 1 + Draw(8); i < n; ++i) {
            rows.push_back(MatrixRowEntry(kIdChart, Bytes(8, static_cast<uint8_t>(Draw(200))), {},
                                          Draw(kChartRows), Draw(kChartRows + 2)));
        }
        return EncodeMatrixRows(rows, flags).Frame();
    }
    std::vector<DeviceEntry> entries = {
        U32Entry(kIdNumber, Draw(1000)),
        TextEntry(kIdText, u"value " + std::u16string(1, char16_t(u'a' + Draw(26))), false,
                  kTextBytes),
        U32Entry(kIdList, Draw(3)), U32Entry(999, 1), // no such control
    };
    entries.resize(1 + Draw(static_cast<uint32_t>(entries.size())));
    return EncodeValues(entries, flags).Frame();
}

std::vector<uint8_t> ChaosFrames::Files() {
    static const std::u16string names[] = {
        u"\\logs\\today.txt", u"\\..\\..\\outside.txt",      u"\\evil\\sub\\escaped.txt",
        u"\\evil\\x.txt",     u"C:\\data\\a\\..\\..\\b.txt", u"\\deep\\er\\file.bin",
    };
    std::vector<DeviceFile> files;
    for (uint32_t i = 0, n = 1 + Draw(4); i < n; ++i) {
        files.push_back({names[Draw(std::size(names))], false,
                         Bytes(Draw(128 * 1024), static_cast<uint8_t>(i))});
    }
    return EncodeFileTransfer(kIdFile, files, Draw(2) ? kFlagAckRequested : 0).Frame();
}

std::vector<uint8_t> ChaosFrames::LayoutBurst(uint32_t entries) {
    std::vector<LayoutEntry> layout;
    for (uint32_t i = 0; i < entries; ++i) {
        layout.push_back({1 + Draw(12), Draw(8), Draw(300)});
    }
    return EncodeLayoutEntries(layout).Frame();
}

std::vector<uint8_t> ChaosFrames::LayoutFlood() {
    constexpr uint32_t kFloodKeys = 100000;
    std::vector<LayoutEntry> layout;
    for (uint32_t i = 0; i < kFloodKeys; ++i, ++m_freshKey) {
        if (i % 2 == 0) {
            layout.push_back({1000 + m_freshKey, 256, Draw(300)});
        } else {
            layout.push_back({kIdText, 0x10000 + m_freshKey, Draw(300)});
        }
    }
    return EncodeLayoutEntries(layout).Frame();
}

std::vector<uint8_t> ChaosFrames::RecommendedLayout() {
    constexpr uint32_t kAttrPingSeconds = 768;
    return EncodeLayoutEntries({{0, kAttrPingSeconds, 2}, {kIdNumber, 1, 1}}).Frame();
}

std::vector<uint8_t> ChaosFrames::Oversize() {
    if (Draw(2) == 0) {
        std::vector<DeviceControl> blobs(300, DeviceControl('O', 0, 50).U32('m', 0xFFFFFFFF));
        return EncodePanelDescription(blobs).Frame();
    }
    return EncodePanelDescriptionRecords(0xFFFFFFFF, {}).Frame();
}

std::vector<uint8_t> ChaosFrames::Truncated(size_t& keep) {
    std::vector<uint8_t> frame;
    switch (Draw(4)) {
    case 0: { // a value announcing nearly 4 GiB
        DeviceEntry entry = U32Entry(kIdBlob, 0);
        entry.announcedLength = 0xFFFFFFF0;
        frame = EncodeValues({entry}).Frame();
        frame.resize(frame.size() + 64 * 1024, 0x33);
        keep = frame.size();
        return frame;
    }
    case 1:
        frame = Files();
        break;
    case 2:
        frame = EncodeMatrixRows({MatrixRowEntry(kIdChart, Bytes(8, 1), {}, 0, 1)}).Frame();
        break;
    default:
        frame = Panel();
        break;
    }
    keep = kFramePrefixSize + 4 + Draw(static_cast<uint32_t>(frame.size() - kFramePrefixSize - 4));
    return frame;
}

std::vector<uint8_t> ChaosFrames::Garbage() {
    std::vector<uint8_t> bytes(1 + Draw(32 * 1024));
    for (uint8_t& byte : bytes) {
        byte = static_cast<uint8_t>(Draw(256));
    }
    if (Draw(2) == 0) { // a marker with a bad kind inside the noise
        const auto prefix = EncodeFramePrefix(static_cast<uint16_t>(Draw(0x10000)));
        bytes.insert(bytes.begin() + Draw(static_cast<uint32_t>(bytes.size())), prefix.begin(),
                     prefix.end());
    }
    return bytes;
}

std::vector<uint8_t> ChaosFrames::LongName() {
    const size_t length = size_t{1} << (10 + Draw(15)); // 1 KiB .. 16 MiB
    return EncodeHelloReply(std::u16string(length, u'N'), false).Frame();
}

namespace {

void PutGifHeader(std::vector<uint8_t>& gif, int side) {
    const uint8_t lo = uint8_t(side);
    const uint8_t hi = uint8_t(side >> 8);
    gif = {'G', 'I', 'F', '8', '9', 'a', lo, hi, lo, hi, 0x81, 0, 0};
    gif.insert(gif.end(), 12, 0x80);
    gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, lo, hi, lo, hi, 0, 2});
}

// Two pixels of a 4096 x 4096 picture, the data cut off there.
std::vector<uint8_t> TruncatedGif() {
    std::vector<uint8_t> gif;
    PutGifHeader(gif, 4096);
    gif.insert(gif.end(), {2, 0x8C, 0x00});
    return gif;
}

// Every pixel of a 1024 x 1024 picture in about 2 KiB: each code one pixel longer than the last.
std::vector<uint8_t> SolidGif() {
    std::vector<uint8_t> gif;
    PutGifHeader(gif, 1024);
    std::vector<uint8_t> bytes;
    uint32_t bits = 0;
    int bitCount = 0;
    int codeSize = 3;
    const auto put = [&](uint32_t code) {
        bits |= code << bitCount;
        for (bitCount += codeSize; bitCount >= 8; bitCount -= 8, bits >>= 8) {
            bytes.push_back(uint8_t(bits));
        }
    };
    put(4);
    put(1);
    uint32_t next = 6;
    size_t length = 1;
    for (size_t written = 1; written < size_t{1024} * 1024; written += length) {
        put(next);
        length += 1;
        if (++next == (1u << codeSize) && codeSize < 12) {
            ++codeSize;
        }
    }
    bytes.push_back(uint8_t(bits));
    for (size_t at = 0; at < bytes.size(); at += 255) {
        const size_t n = std::min<size_t>(255, bytes.size() - at);
        gif.push_back(uint8_t(n));
        gif.insert(gif.end(), bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + n));
    }
    gif.insert(gif.end(), {0, 0x3B});
    return gif;
}

} // namespace

std::vector<uint8_t> ChaosFrames::ImageFlood() {
    const std::vector<uint8_t> gif = Draw(2) == 0 ? TruncatedGif() : SolidGif();
    std::vector<DeviceControl> pictures;
    for (uint32_t id = 1, n = 50 + Draw(451); id <= n; ++id) {
        pictures.push_back(DeviceControl('I', 0, 100 + id).ValueBytes(gif));
    }
    return EncodePanelDescription(pictures).Frame();
}

std::vector<uint8_t> ChaosFrames::BigPanel() {
    std::vector<DeviceControl> sections;
    for (uint32_t id = 1, n = 1000 + Draw(64536); id <= n; ++id) {
        sections.push_back(DeviceControl('S', 0, 100 + id).ValueByte(0).Caption(u"Section"));
    }
    return EncodePanelDescription(sections).Frame();
}

} // namespace ksv::chaos
