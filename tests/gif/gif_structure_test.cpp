// Which files are accepted or refused, and the shape of the picture they give.

#include "gif_code_stream.h"
#include "image/gif_decoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace ksv {
namespace {

using test::BuildGif;
using test::CodeStream;
using test::HandBuiltGif;
using test::PaletteColour;

const std::vector<uint8_t> kGraphicControl = {0x21, 0xF9, 0x04, 0x00, 0x0A, 0x00, 0x00, 0x00};
const std::vector<uint8_t> kComment = {0x21, 0xFE, 0x03, 'a', 'b', 'c', 0x00};

// A 2 x 2 picture of colours 0, 1, 2, 3.
HandBuiltGif FourPixels() {
    CodeStream stream(2);
    for (uint32_t code : {4u, 0u, 1u, 2u, 3u, 5u}) {
        stream.PutNext(code);
    }
    HandBuiltGif gif;
    gif.width = 2;
    gif.height = 2;
    gif.data = stream.SubBlocks();
    return gif;
}

const std::vector<uint32_t> kFourColours = {PaletteColour(0), PaletteColour(1), PaletteColour(2),
                                            PaletteColour(3)};

class GifFileTest : public ::testing::Test {
protected:
    bool Decode(const std::vector<uint8_t>& file) { return m_decoder->Decode(file); }
    void ExpectRefused() {
        EXPECT_EQ(m_decoder->Width(), 0);
        EXPECT_EQ(m_decoder->Height(), 0);
        EXPECT_TRUE(m_decoder->Pixels().empty());
        EXPECT_EQ(m_decoder->StopReason(), GifStop::kNotDecoded);
    }

    std::unique_ptr<GifDecoder> m_decoder = std::make_unique<GifDecoder>();
};

TEST_F(GifFileTest, PlainFileGivesItsColoursAsBlueGreenRed) {
    std::vector<uint8_t> file = BuildGif(FourPixels());
    // Colour 0 of the table becomes red 0x11, green 0x22, blue 0x33.
    file[13] = 0x11;
    file[14] = 0x22;
    file[15] = 0x33;
    ASSERT_TRUE(Decode(file));
    EXPECT_EQ(m_decoder->Width(), 2);
    EXPECT_EQ(m_decoder->Height(), 2);
    EXPECT_EQ(m_decoder->Pixels()[0], 0x00332211u);
    EXPECT_EQ(m_decoder->Pixels()[3], PaletteColour(3));
    EXPECT_EQ(m_decoder->StopReason(), GifStop::kPictureFull);
}

TEST_F(GifFileTest, OneExtensionIsSkippedWhateverItsSubBlocks) {
    HandBuiltGif gif = FourPixels();
    gif.extension = kGraphicControl;
    ASSERT_TRUE(Decode(BuildGif(gif)));
    EXPECT_EQ(m_decoder->Pixels(), kFourColours);

    gif.extension = {0x21, 0xFE, 0x02, 'a', 'b', 0x03, 'c', 0x2C, 'e', 0x00};
    ASSERT_TRUE(Decode(BuildGif(gif)));
    EXPECT_EQ(m_decoder->Pixels(), kFourColours);
}

TEST_F(GifFileTest, RefusesTwoExtensions) {
    HandBuiltGif gif = FourPixels();
    gif.extension = kGraphicControl;
    gif.extension.insert(gif.extension.end(), kComment.begin(), kComment.end());
    EXPECT_FALSE(Decode(BuildGif(gif)));
    ExpectRefused();
}

TEST_F(GifFileTest, RefusesScreenWithoutGlobalTableOrWithAspect) {
    std::vector<uint8_t> noTable = BuildGif(FourPixels());
    noTable[test::kScreenFlagsOffset] &= 0x7F;
    EXPECT_FALSE(Decode(noTable));
    ExpectRefused();

    std::vector<uint8_t> aspect = BuildGif(FourPixels());
    aspect[test::kAspectOffset] = 49;
    EXPECT_FALSE(Decode(aspect));
    ExpectRefused();
}

TEST_F(GifFileTest, RefusesLocalColourTableAndMissingImage) {
    std::vector<uint8_t> local = BuildGif(FourPixels());
    const size_t imageFlags = 13 + 3 * 4 + 9;
    ASSERT_EQ(local[imageFlags - 9], 0x2C);
    local[imageFlags] |= 0x80;
    EXPECT_FALSE(Decode(local));
    ExpectRefused();

    std::vector<uint8_t> trailerOnly(local.begin(), local.begin() + imageFlags - 9);
    trailerOnly.push_back(0x3B);
    EXPECT_FALSE(Decode(trailerOnly));
}

TEST_F(GifFileTest, SignatureIsNotChecked) {
    std::vector<uint8_t> file = BuildGif(FourPixels());
    std::fill(file.begin(), file.begin() + 6, 'X');
    ASSERT_TRUE(Decode(file));
    EXPECT_EQ(m_decoder->Pixels(), kFourColours);
}

TEST_F(GifFileTest, TruncatedBeforeImageDataIsRefusedAfterItIsPartial) {
    HandBuiltGif gif = FourPixels();
    gif.extension = kComment;
    const std::vector<uint8_t> file = BuildGif(gif);
    const size_t dataOffset = 13 + 3 * 4 + kComment.size() + 10;
    for (size_t n = 0; n <= file.size(); ++n) {
        std::vector<uint8_t> part(file.begin(), file.begin() + ptrdiff_t(n));
        const bool accepted = Decode(part);
        EXPECT_EQ(accepted, n >= dataOffset) << n;
        if (accepted) {
            EXPECT_EQ(m_decoder->Pixels().size(), size_t(m_decoder->Rows()) * 2) << n;
            EXPECT_EQ(m_decoder->Height(), 2) << n;
        }
    }
}

TEST_F(GifFileTest, PicturesAboveTheLimitAreRefusedWithoutAllocating) {
    for (auto [width, height] : {std::pair{65535, 65535}, std::pair{4097, 4096}}) {
        HandBuiltGif gif = FourPixels();
        gif.width = width;
        gif.height = height;
        EXPECT_FALSE(Decode(BuildGif(gif))) << width << " x " << height;
        ExpectRefused();
    }
}

TEST_F(GifFileTest, EmptyPictureIsAcceptedWithoutPixels) {
    for (auto [width, height] : {std::pair{0, 0}, std::pair{0, 7}, std::pair{7, 0}}) {
        HandBuiltGif gif = FourPixels();
        gif.width = width;
        gif.height = height;
        EXPECT_TRUE(Decode(BuildGif(gif)));
        EXPECT_EQ(m_decoder->Width(), width);
        EXPECT_EQ(m_decoder->Height(), height);
        EXPECT_TRUE(m_decoder->Pixels().empty());
    }
}

TEST_F(GifFileTest, EachDecodeStartsAfresh) {
    ASSERT_TRUE(Decode(BuildGif(FourPixels())));

    // A two-colour file after a four-colour one: colours 2 and 3 are no longer there.
    HandBuiltGif twoColours = FourPixels();
    twoColours.bitsPerPixel = 1;
    ASSERT_TRUE(Decode(BuildGif(twoColours)));
    EXPECT_EQ(m_decoder->Pixels(),
              (std::vector<uint32_t>{PaletteColour(0), PaletteColour(1), 0, 0}));

    std::vector<uint8_t> refused = BuildGif(FourPixels());
    refused[test::kAspectOffset] = 1;
    EXPECT_FALSE(Decode(refused));
    ExpectRefused();
}

// A huge declared picture whose data gives two pixels, as a hostile device sends it.
HandBuiltGif TruncatedHuge(bool interlaced) {
    HandBuiltGif gif = FourPixels();
    gif.width = 4096;
    gif.height = 4096;
    gif.interlaced = interlaced;
    CodeStream stream(2);
    for (uint32_t code : {4u, 1u, 2u}) {
        stream.PutNext(code);
    }
    gif.data = stream.SubBlocks();
    gif.data.pop_back(); // no terminator: the data just ends
    return gif;
}

TEST_F(GifFileTest, TruncatedHugePictureHoldsOnlyTheRowItsDataReaches) {
    for (bool interlaced : {false, true}) {
        ASSERT_TRUE(Decode(BuildGif(TruncatedHuge(interlaced))));
        EXPECT_EQ(m_decoder->Width(), 4096);
        EXPECT_EQ(m_decoder->Height(), 4096);
        EXPECT_EQ(m_decoder->Rows(), 1);
        EXPECT_LE(m_decoder->Pixels().capacity(), 4096u);
        EXPECT_EQ(m_decoder->Pixels()[1], PaletteColour(2));
        EXPECT_EQ(m_decoder->StopReason(), GifStop::kDataEnded);
    }
}

TEST_F(GifFileTest, LimitsRefuseBeforeAllocating) {
    const std::vector<uint8_t> file = BuildGif(TruncatedHuge(false));
    GifDecoder::Limits declared;
    declared.declaredPixels = size_t{2048} * 2048;
    EXPECT_FALSE(m_decoder->Decode(file, declared));
    EXPECT_EQ(m_decoder->RefusalReason(), GifDecoder::Refusal::kTooLarge);
    ExpectRefused();

    // The row the data reaches is 4096 pixels: over an allowance of 4095, within 4096.
    GifDecoder::Limits stored;
    stored.storedPixels = 4095;
    EXPECT_FALSE(m_decoder->Decode(file, stored));
    EXPECT_EQ(m_decoder->RefusalReason(), GifDecoder::Refusal::kOverAllowance);
    ExpectRefused();
    stored.storedPixels = 4096;
    EXPECT_TRUE(m_decoder->Decode(file, stored));
    EXPECT_EQ(m_decoder->RefusalReason(), GifDecoder::Refusal::kNone);
}

} // namespace
} // namespace ksv
