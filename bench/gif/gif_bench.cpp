// Decodes one set of GIF files (icons and large pictures, made by giflib's encoder from
// gradients and noise) with GifDecoder and with giflib's DGifSlurp plus colour lookup,
// and prints both throughputs and their ratio.

#include "giflib_files.h"
#include "image/gif_decoder.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct BenchFile {
    std::string name;
    std::vector<uint8_t> bytes;
    size_t pixels = 0;
};

std::vector<BenchFile> MakeFiles() {
    struct Shape {
        const char* name;
        int width, height, bits;
        bool interlaced;
    };
    const Shape shapes[] = {
        {"icon 16x16 4-bit", 16, 16, 4, false},        {"icon 32x32 8-bit", 32, 32, 8, false},
        {"icon 48x48 1-bit", 48, 48, 1, false},        {"icon 48x48 8-bit", 48, 48, 8, true},
        {"picture 1024x768", 1024, 768, 8, false},     {"picture 800x600 il", 800, 600, 8, true},
        {"picture 640x480 4-bit", 640, 480, 4, false},
    };
    std::vector<BenchFile> files;
    uint32_t seed = 100;
    for (const Shape& s : shapes) {
        ksv::test::GifImageSpec spec = ksv::test::MakeImage(s.width, s.height, s.bits, seed++);
        spec.interlaced = s.interlaced;
        files.push_back({s.name, ksv::test::EncodeWithGiflib(spec), size_t(s.width) * s.height});
    }
    return files;
}

template <typename DecodeOne>
double SecondsFor(const std::vector<BenchFile>& files, int rounds, DecodeOne decodeOne) {
    const Clock::time_point start = Clock::now();
    for (int r = 0; r < rounds; ++r) {
        for (const BenchFile& f : files) {
            decodeOne(f);
        }
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main() {
    const std::vector<BenchFile> files = MakeFiles();
    size_t pixelsPerRound = 0;
    size_t bytesPerRound = 0;
    for (const BenchFile& f : files) {
        if (f.bytes.empty()) {
            std::fprintf(stderr, "giflib could not encode %s\n", f.name.c_str());
            return 1;
        }
        pixelsPerRound += f.pixels;
        bytesPerRound += f.bytes.size();
    }

    // Both decoders must give the same pictures before their speed means anything.
    auto decoder = std::make_unique<ksv::GifDecoder>();
    for (const BenchFile& f : files) {
        const ksv::test::GiflibPicture reference =
            ksv::test::DecodeWithGiflib(f.bytes.data(), f.bytes.size());
        if (!decoder->Decode(f.bytes) || !reference.ok || decoder->Pixels() != reference.pixels) {
            std::fprintf(stderr, "pictures differ: %s\n", f.name.c_str());
            return 1;
        }
    }

    const int rounds = 30;
    size_t checksum = 0;
    auto ours = [&](const BenchFile& f) {
        decoder->Decode(f.bytes);
        checksum += decoder->Pixels().size();
    };
    auto giflib = [&](const BenchFile& f) {
        checksum += ksv::test::DecodeWithGiflib(f.bytes.data(), f.bytes.size()).pixels.size();
    };
    SecondsFor(files, 2, ours); // warm-up
    SecondsFor(files, 2, giflib);
    // Alternate the two so that neither gets a quieter machine.
    double oursSeconds = 0;
    double giflibSeconds = 0;
    for (int i = 0; i < 3; ++i) {
        oursSeconds += SecondsFor(files, rounds, ours);
        giflibSeconds += SecondsFor(files, rounds, giflib);
    }

    const double megapixels = double(pixelsPerRound) * rounds * 3 / 1e6;
    const double megabytes = double(bytesPerRound) * rounds * 3 / 1e6;
    std::printf("files: %zu (%zu pixels, %zu bytes per round), rounds: %d\n", files.size(),
                pixelsPerRound, bytesPerRound, rounds * 3);
    std::printf("GifDecoder:          %8.1f Mpixel/s  %7.1f MB/s of GIF data\n",
                megapixels / oursSeconds, megabytes / oursSeconds);
    std::printf("giflib DGifSlurp+LUT: %7.1f Mpixel/s  %7.1f MB/s of GIF data\n",
                megapixels / giflibSeconds, megabytes / giflibSeconds);
    std::printf("ratio (GifDecoder / giflib): %.2f\n", giflibSeconds / oursSeconds);
    return checksum == 0 ? 1 : 0;
}
