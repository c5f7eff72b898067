// Files written by giflib's encoder, decoded here and by giflib's decoder.

#include "giflib_files.h"
#include "image/gif_decoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace ksv {
namespace {

using test::DecodeWithGiflib;
using test::EncodeWithGiflib;
using test::ExpectedColours;
using test::GifImageParams;
using test::MakeImage;

struct Case {
    std::string name;
    GifImageParams params;
};

std::vector<Case> AcceptedCases() {
    std::vector<Case> cases;
    cases.push_back({"OneBit", MakeImage(17, 9, 1, 1)});
    cases.push_back({"FourBit", MakeImage(48, 48, 4, 2)});
    cases.push_back({"EightBit", MakeImage(200, 150, 8, 3)});
    cases.push_back({"OnePixel", MakeImage(1, 1, 8, 4)});
    GifImageParams interlaced = MakeImage(37, 29, 8, 5);
    interlaced.interlaced = true;
    cases.push_back({"Interlaced", interlaced});
    GifImageParams interlacedOneBit = MakeImage(64, 16, 1, 6);
    interlacedOneBit.interlaced = true;
    cases.push_back({"InterlacedOneBit", interlacedOneBit});
    GifImageParams control = MakeImage(40, 30, 3, 7);
    control.graphicControl = true;
    cases.push_back({"GraphicControl", control});
    GifImageParams comment = MakeImage(40, 30, 6, 8);
    comment.comment = true;
    cases.push_back({"Comment", comment});
    GifImageParams offset = MakeImage(21, 13, 5, 9);
    offset.left = 30;
    offset.top = 7;
    cases.push_back({"LeftTop", offset});
    // Long enough for the dictionary to fill and clear several times.
    cases.push_back({"Large", MakeImage(640, 480, 8, 10)});
    return cases;
}

// CTest lists the case by its name rather than by its bytes.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class GiflibFiles : public ::testing::TestWithParam<Case> {};

TEST_P(GiflibFiles, DecodeToTheSourcePictureLikeGiflib) {
    const GifImageParams& params = GetParam().params;
    const std::vector<uint8_t> file = EncodeWithGiflib(params);
    ASSERT_FALSE(file.empty());
    const std::vector<uint32_t> expected = ExpectedColours(params);

    test::GiflibPicture reference = DecodeWithGiflib(file.data(), file.size());
    ASSERT_TRUE(reference.ok);
    ASSERT_EQ(reference.pixels, expected); // the encoder and reference agree

    auto decoder = std::make_unique<GifDecoder>();
    ASSERT_TRUE(decoder->Decode(file));
    EXPECT_EQ(decoder->Width(), params.width);
    EXPECT_EQ(decoder->Height(), params.height);
    EXPECT_EQ(decoder->Pixels(), reference.pixels);
    EXPECT_NE(decoder->StopReason(), GifStop::kBadCode);
}

INSTANTIATE_TEST_SUITE_P(Gif, GiflibFiles, ::testing::ValuesIn(AcceptedCases()),
                         [](const auto& info) { return info.param.name; });

TEST(GiflibFilesRefused, TwoExtensionsOrLocalColourTable) {
    GifImageParams both = MakeImage(8, 8, 2, 11);
    both.graphicControl = true;
    both.comment = true;
    GifImageParams local = MakeImage(8, 8, 2, 12);
    local.localColourTable = true;
    for (const GifImageParams& params : {both, local}) {
        const std::vector<uint8_t> file = EncodeWithGiflib(params);
        ASSERT_FALSE(file.empty());
        ASSERT_TRUE(DecodeWithGiflib(file.data(), file.size()).ok); // a valid file
        auto decoder = std::make_unique<GifDecoder>();
        EXPECT_FALSE(decoder->Decode(file));
        EXPECT_EQ(decoder->Width(), 0);
        EXPECT_TRUE(decoder->Pixels().empty());
    }
}

TEST(GiflibFilesConcurrent, DecodersOnSeparateThreadsDoNotShareState) {
    std::vector<GifImageParams> images = {MakeImage(120, 90, 8, 20), MakeImage(77, 50, 1, 21),
                                          MakeImage(64, 64, 4, 22)};
    images[2].interlaced = true;
    std::vector<std::vector<uint8_t>> files;
    for (const GifImageParams& params : images) {
        files.push_back(EncodeWithGiflib(params));
    }
    std::vector<int> mismatches(images.size(), 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < images.size(); ++t) {
        threads.emplace_back([&, t] {
            const std::vector<uint32_t> expected = ExpectedColours(images[t]);
            auto decoder = std::make_unique<GifDecoder>();
            for (int i = 0; i < 40; ++i) {
                if (!decoder->Decode(files[t]) || decoder->Pixels() != expected) {
                    ++mismatches[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(images.size(), 0));
}

} // namespace
} // namespace ksv
