// Every prefix of real files: refused or partial, never a crash or a stray write.

#include "giflib_files.h"
#include "image/gif_decoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace ksv {
namespace {

using test::EncodeWithGiflib;
using test::GifImageParams;
using test::MakeImage;

// Decodes each prefix into its own exactly sized buffer, so that a read past the given
// length is a read past the allocation (visible to AddressSanitizer).
void CheckEveryPrefix(const GifImageParams& params) {
    const std::vector<uint8_t> file = EncodeWithGiflib(params);
    ASSERT_FALSE(file.empty());
    auto decoder = std::make_unique<GifDecoder>();
    ASSERT_TRUE(decoder->Decode(file));
    const std::vector<uint32_t> full = decoder->Pixels();

    size_t previousMatches = 0;
    for (size_t n = 0; n < file.size(); ++n) {
        std::unique_ptr<uint8_t[]> prefix(new uint8_t[n + 1]);
        std::copy(file.begin(), file.begin() + ptrdiff_t(n), prefix.get());
        if (!decoder->Decode(prefix.get(), n)) {
            EXPECT_TRUE(decoder->Pixels().empty()) << n;
            continue;
        }
        const std::vector<uint32_t>& pixels = decoder->Pixels();
        // Only the rows the prefix reaches are held.
        ASSERT_EQ(pixels.size(), size_t(decoder->Rows()) * size_t(decoder->Width())) << n;
        ASSERT_LE(pixels.size(), full.size()) << n;
        // Every pixel is the full picture's or not yet written (black), and a longer
        // prefix never knows less.
        size_t matches = 0;
        for (size_t i = 0; i < pixels.size(); ++i) {
            ASSERT_TRUE(pixels[i] == full[i] || pixels[i] == 0) << n << " pixel " << i;
            matches += pixels[i] == full[i] && full[i] != 0;
        }
        EXPECT_GE(matches, previousMatches) << n;
        previousMatches = matches;
    }
    EXPECT_GT(previousMatches, 0u);
}

TEST(GifTruncation, EveryPrefixOfAPlainFile) {
    GifImageParams params = MakeImage(31, 23, 8, 30);
    params.graphicControl = true;
    CheckEveryPrefix(params);
}

TEST(GifTruncation, EveryPrefixOfAnInterlacedOneBitFile) {
    GifImageParams params = MakeImage(40, 21, 1, 31);
    params.interlaced = true;
    CheckEveryPrefix(params);
}

TEST(GifTruncation, HostileMinimumCodeSizeInARealFile) {
    const std::vector<uint8_t> file = EncodeWithGiflib(MakeImage(16, 16, 4, 32));
    // Screen (13) + 16 colours (48) + image descriptor (10): the minimum code size byte.
    const size_t codeSizeAt = 13 + 48 + 10;
    ASSERT_EQ(file[codeSizeAt], 4);
    auto decoder = std::make_unique<GifDecoder>();
    for (int size = 0; size <= 255; ++size) {
        std::vector<uint8_t> hostile = file;
        hostile[codeSizeAt] = uint8_t(size);
        ASSERT_TRUE(decoder->Decode(hostile)) << size;
        EXPECT_LE(decoder->Pixels().size(), 256u) << size;
        if (size > 11) {
            EXPECT_EQ(decoder->StopReason(), GifStop::kBadCodeSize) << size;
            EXPECT_TRUE(decoder->Pixels().empty()) << size;
        }
    }
}

TEST(GifTruncation, RandomlyCorruptedFilesStayWithinThePicture) {
    GifImageParams params = MakeImage(32, 24, 8, 33);
    params.graphicControl = true;
    const std::vector<uint8_t> file = EncodeWithGiflib(params);
    auto decoder = std::make_unique<GifDecoder>();
    uint32_t state = 12345;
    auto random = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 16;
    };
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bad = file;
        const int flips = 1 + int(random() % 4);
        for (int i = 0; i < flips; ++i) {
            bad[random() % bad.size()] = uint8_t(random());
        }
        bad.resize(bad.size() - random() % 64);
        if (!decoder->Decode(bad)) {
            EXPECT_TRUE(decoder->Pixels().empty());
            continue;
        }
        ++accepted;
        const size_t area = size_t(decoder->Width()) * size_t(decoder->Height());
        ASSERT_LE(area, GifDecoder::kMaxPixels);
        ASSERT_LE(decoder->Rows(), decoder->Height()) << round;
        ASSERT_EQ(decoder->Pixels().size(), size_t(decoder->Rows()) * decoder->Width()) << round;
    }
    EXPECT_GT(accepted, 0);
}

} // namespace
} // namespace ksv
