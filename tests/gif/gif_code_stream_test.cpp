// LZW decoding on hand-built code streams: the cases encoders rarely or never write.

#include "gif_code_stream.h"
#include "image/gif_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace ksv {
namespace {

using test::BuildGif;
using test::CodeStream;
using test::HandBuiltGif;
using test::PaletteColour;

std::vector<uint32_t> Colours(const std::vector<uint32_t>& indexes) {
    std::vector<uint32_t> out;
    for (uint32_t i : indexes) {
        out.push_back(PaletteColour(i));
    }
    return out;
}

struct Decoded {
    bool accepted = false;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    GifStop stop = GifStop::kNotDecoded;
};

Decoded DecodeFile(const std::vector<uint8_t>& file) {
    auto decoder = std::make_unique<GifDecoder>();
    Decoded d;
    d.accepted = decoder->Decode(file);
    d.width = decoder->Width();
    d.height = decoder->Height();
    d.pixels = decoder->Pixels();
    d.stop = decoder->StopReason();
    return d;
}

// A width x 1 picture (or width x height) of the given codes, each read at the size
// the decoder expects.
Decoded DecodeCodes(int minimumCodeSize, const std::vector<uint32_t>& codes, int width,
                    int height = 1, int bitsPerPixel = 2, bool interlaced = false) {
    CodeStream stream(minimumCodeSize);
    for (uint32_t code : codes) {
        stream.PutNext(code);
    }
    HandBuiltGif gif;
    gif.width = width;
    gif.height = height;
    gif.bitsPerPixel = bitsPerPixel;
    gif.interlaced = interlaced;
    gif.minimumCodeSize = uint8_t(minimumCodeSize);
    gif.data = stream.SubBlocks();
    return DecodeFile(BuildGif(gif));
}

TEST(GifLzw, CodeEqualToNextOutputsPreviousStringPlusItsFirstColour) {
    // 4 clear, 1, then 6 is the entry being defined: "1" + "1".
    Decoded d = DecodeCodes(2, {4, 1, 6, 5}, 3);
    ASSERT_TRUE(d.accepted);
    EXPECT_EQ(d.pixels, Colours({1, 1, 1}));
    EXPECT_EQ(d.stop, GifStop::kPictureFull);
}

TEST(GifLzw, EntriesChainPrefixesAcrossGrowingCodeSizes) {
    // Entries 6 = 12, 7 = 21, 8 = 122 (code size grows to 4 bits at entry 8), 9 = 211.
    Decoded d = DecodeCodes(2, {4, 1, 2, 6, 7, 8, 3, 3, 3, 5}, 12);
    EXPECT_EQ(d.pixels, Colours({1, 2, 1, 2, 2, 1, 1, 2, 2, 3, 3, 3}));
}

TEST(GifLzw, ClearCodeResetsDictionaryAndCodeSize) {
    // Seven entries grow the code size to 4 bits; after the clear, 3-bit codes again and
    // entry 6 is redefined as "30".
    Decoded d = DecodeCodes(2, {4, 0, 1, 2, 3, 0, 1, 2, 3, 4, 3, 0, 6, 5}, 12);
    EXPECT_EQ(d.pixels, Colours({0, 1, 2, 3, 0, 1, 2, 3, 3, 0, 3, 0}));
    EXPECT_EQ(d.stop, GifStop::kPictureFull);
}

TEST(GifLzw, DataWithoutLeadingClearCodeDecodesAsAfterAClear) {
    Decoded d = DecodeCodes(2, {1, 2, 6, 5}, 5);
    EXPECT_EQ(d.pixels, (std::vector<uint32_t>{PaletteColour(1), PaletteColour(2), PaletteColour(1),
                                               PaletteColour(2), 0}));
    EXPECT_EQ(d.stop, GifStop::kEndCode);
}

TEST(GifLzw, CorruptCodesStopWithThePixelsWrittenSoFar) {
    // 9 (a 4-bit code by now) is beyond the next free entry, 8.
    Decoded beyond = DecodeCodes(2, {4, 1, 2, 3, 9, 1, 5}, 5);
    ASSERT_TRUE(beyond.accepted);
    EXPECT_EQ(beyond.stop, GifStop::kBadCode);
    EXPECT_EQ(beyond.pixels,
              (std::vector<uint32_t>{PaletteColour(1), PaletteColour(2), PaletteColour(3), 0, 0}));

    // Right after a clear only a single-colour code can follow.
    Decoded afterClear = DecodeCodes(2, {4, 6, 1, 5}, 2);
    EXPECT_EQ(afterClear.stop, GifStop::kBadCode);
    EXPECT_TRUE(afterClear.pixels.empty()); // no row reached: all black
    EXPECT_EQ(afterClear.width, 2);
}

TEST(GifLzw, MinimumCodeSizeAboveElevenStopsWithABlackPicture) {
    for (int size : {12, 13, 255}) {
        CodeStream stream(2);
        stream.PutNext(4);
        stream.PutNext(1);
        HandBuiltGif gif;
        gif.width = 3;
        gif.height = 2;
        gif.minimumCodeSize = uint8_t(size);
        gif.data = stream.SubBlocks();
        Decoded d = DecodeFile(BuildGif(gif));
        EXPECT_TRUE(d.accepted) << size;
        EXPECT_EQ(d.stop, GifStop::kBadCodeSize) << size;
        EXPECT_TRUE(d.pixels.empty()) << size; // no row reached: all black
        EXPECT_EQ(d.height, 2) << size;
    }
}

TEST(GifLzw, IndexesBeyondTheColourTableReadAsBlack) {
    // Two colours, minimum code size 2: codes 2 and 3 name no colour.
    Decoded small = DecodeCodes(2, {4, 0, 1, 2, 3, 5}, 4, 1, 1);
    EXPECT_EQ(small.pixels, (std::vector<uint32_t>{PaletteColour(0), PaletteColour(1), 0, 0}));

    // Minimum code size 11 (12-bit codes): index 300 is beyond any colour table, also as
    // part of entry 2051 ("300" + "300").
    Decoded wide = DecodeCodes(11, {2048, 1, 300, 2051, 2049}, 4, 1, 8);
    EXPECT_EQ(wide.pixels, (std::vector<uint32_t>{PaletteColour(1), 0, 0, 0}));
    EXPECT_EQ(wide.stop, GifStop::kPictureFull);
}

TEST(GifLzw, FullDictionaryKeepsDecodingWithoutAddingEntries) {
    // Single-colour codes until entries 6..4095 are all defined: entry 6 + j is
    // root j followed by root j + 1.
    std::vector<uint32_t> roots;
    CodeStream stream(2);
    stream.PutNext(4);
    while (stream.NextEntry() < 4096) {
        const uint32_t root = uint32_t(roots.size() * 7 / 3) % 4;
        roots.push_back(root);
        stream.PutNext(root);
    }
    ASSERT_EQ(roots.size(), 4091u);
    ASSERT_EQ(stream.CodeSize(), 12);
    // Still 12-bit codes, no clear: the last entry, a root, the first entry, end.
    for (uint32_t code : {4095u, 2u, 6u, 5u}) {
        stream.PutNext(code);
    }
    HandBuiltGif gif;
    gif.width = 4097;
    gif.data = stream.SubBlocks();
    Decoded d = DecodeFile(BuildGif(gif));

    std::vector<uint32_t> expected = roots;
    for (uint32_t index : {roots[4089], roots[4090], 2u, roots[0], roots[1]}) {
        expected.push_back(index);
    }
    std::vector<uint32_t> colours = Colours(expected);
    colours.push_back(0); // one pixel the data never reaches
    ASSERT_EQ(d.pixels.size(), colours.size());
    EXPECT_EQ(d.pixels, colours);
    EXPECT_EQ(d.stop, GifStop::kEndCode);
}

TEST(GifLzw, PixelsBeyondThePictureAreDropped) {
    // Ten single pixels into a 2 x 2 picture.
    Decoded many = DecodeCodes(2, {4, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 5}, 2, 2);
    EXPECT_EQ(many.pixels, Colours({1, 2, 3, 0}));
    EXPECT_EQ(many.stop, GifStop::kPictureFull);

    // The last string ("12") crosses the end of a 3 x 1 picture.
    Decoded crossing = DecodeCodes(2, {4, 1, 2, 6, 5}, 3);
    EXPECT_EQ(crossing.pixels, Colours({1, 2, 1}));
}

TEST(GifLzw, SubBlockBoundariesDoNotChangeTheCodes) {
    // 9-bit codes through 1-byte sub-blocks and through one large sub-block.
    CodeStream stream(8);
    std::vector<uint32_t> indexes;
    stream.PutNext(256);
    for (uint32_t i = 0; i < 200; ++i) {
        const uint32_t root = (i * 91) % 256;
        indexes.push_back(root);
        stream.PutNext(root);
    }
    stream.PutNext(257);
    for (size_t blockSize : {size_t{1}, size_t{7}, size_t{255}}) {
        HandBuiltGif gif;
        gif.width = 20;
        gif.height = 10;
        gif.bitsPerPixel = 8;
        gif.minimumCodeSize = 8;
        gif.data = stream.SubBlocks(blockSize);
        Decoded d = DecodeFile(BuildGif(gif));
        EXPECT_EQ(d.pixels, Colours(indexes)) << blockSize;
    }
}

TEST(GifLzw, BlockTerminatorEndsTheDataEvenIfBytesFollow) {
    CodeStream stream(2);
    for (uint32_t code : {4u, 1u, 2u, 3u, 5u}) {
        stream.PutNext(code);
    }
    std::vector<uint8_t> blocks = stream.SubBlocks();
    ASSERT_GE(blocks.size(), 4u);
    // The first byte holds the clear code, "1" and part of "2"; a terminator follows it.
    std::vector<uint8_t> data = {1, blocks[1], 0, uint8_t(blocks[0] - 1)};
    data.insert(data.end(), blocks.begin() + 2, blocks.end());
    HandBuiltGif gif;
    gif.width = 3;
    gif.data = data;
    Decoded d = DecodeFile(BuildGif(gif));
    EXPECT_EQ(d.pixels, (std::vector<uint32_t>{PaletteColour(1), 0, 0}));
    EXPECT_EQ(d.stop, GifStop::kDataEnded);
}

TEST(GifLzw, InterlacedRowsArriveInPassOrder) {
    // One pixel per row; data row r carries colour r.
    std::vector<uint32_t> codes = {16};
    for (uint32_t r = 0; r < 16; ++r) {
        codes.push_back(r);
    }
    codes.push_back(17);
    Decoded d = DecodeCodes(4, codes, 1, 16, 4, true);
    const int order[16] = {0, 8, 4, 12, 2, 6, 10, 14, 1, 3, 5, 7, 9, 11, 13, 15};
    ASSERT_EQ(d.pixels.size(), 16u);
    for (uint32_t r = 0; r < 16; ++r) {
        EXPECT_EQ(d.pixels[size_t(order[r])], PaletteColour(r)) << "data row " << r;
    }
}

TEST(GifLzw, InterlacedShortPicturesWriteEveryRowOnce) {
    for (int height = 1; height <= 9; ++height) {
        std::vector<uint32_t> codes = {16};
        for (int r = 0; r < height + 3; ++r) { // three rows too many
            codes.push_back(uint32_t(r));
        }
        Decoded d = DecodeCodes(4, codes, 1, height, 4, true);
        ASSERT_EQ(d.pixels.size(), size_t(height));
        std::vector<uint32_t> sorted = d.pixels;
        std::sort(sorted.begin(), sorted.end());
        std::vector<uint32_t> expected;
        for (int r = 0; r < height; ++r) {
            expected.push_back(PaletteColour(uint32_t(r)));
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected) << height;
        EXPECT_EQ(d.stop, GifStop::kPictureFull) << height;
    }
}

TEST(GifLzw, InterlacedStringsSplitAcrossRows) {
    // The data rows "121", "221", "122", "333" go to picture rows 0, 2, 1, 3.
    Decoded d = DecodeCodes(2, {4, 1, 2, 6, 7, 8, 3, 3, 3, 5}, 3, 4, 2, true);
    EXPECT_EQ(d.pixels, Colours({1, 2, 1, 1, 2, 2, 2, 2, 1, 3, 3, 3}));
}

} // namespace
} // namespace ksv
