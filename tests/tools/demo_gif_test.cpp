#include "demo_gif.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

namespace ksv::demo {
namespace {

QImage Decode(const std::vector<uint8_t>& gif) {
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(gif.data()), static_cast<int>(gif.size()),
                       "GIF");
    return image.convertToFormat(QImage::Format_RGB32);
}

// An independent decoder reads back every pixel as written.
TEST(DemoGif, DecodesToThePixelsEncoded) {
    const uint8_t palette[12] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    const int width = 7, height = 5; // odd sizes: codes cross byte and sub-block boundaries
    std::vector<uint8_t> indices;
    for (int i = 0; i < width * height; ++i) {
        indices.push_back(static_cast<uint8_t>((i * 7 + i / 3) % 4));
    }
    const QImage image = Decode(EncodeGif(width, height, indices, palette));
    ASSERT_EQ(image.width(), width);
    ASSERT_EQ(image.height(), height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t index = indices[y * width + x];
            const QRgb expected =
                qRgb(palette[3 * index], palette[3 * index + 1], palette[3 * index + 2]);
            EXPECT_EQ(image.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(DemoGif, DemoPictureIsAValidRingTarget) {
    const std::vector<uint8_t> gif = MakeDemoGif(40);
    ASSERT_GT(gif.size(), 255u) << "long enough to need several data sub-blocks";
    const QImage image = Decode(gif);
    ASSERT_EQ(image.size(), QSize(40, 40));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0xFF, 0xFF, 0xFF)); // corner outside the rings
    EXPECT_NE(image.pixel(20, 20), image.pixel(0, 0));
}

} // namespace
} // namespace ksv::demo

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // image plugins are found through the application
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
