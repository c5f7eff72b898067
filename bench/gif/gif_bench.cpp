// Decodes one set of GIF files (icons and large pictures, made by giflib's encoder from
// gradients and noise) with GifDecoder and with giflib's DGifSlurp plus colour lookup,
// and prints both throughputs and their ratio.

#include "giflib_files.h"
#include "image/gif_decoder.h"

#include <algorithm>
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
        ksv::test::GifImageParams params = ksv::test::MakeImage(s.width, s.height, s.bits, seed++);
        params.interlaced = s.interlaced;
        files.push_back({s.name, ksv::test::EncodeWithGiflib(params), size_t(s.width) * s.height});
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

// Decodes the group with both decoders, alternating so that neither gets a quieter
// machine, and prints one line. Returns the throughput ratio.
double Measure(const char* group, const std::vector<BenchFile>& files, ksv::GifDecoder& decoder) {
    size_t pixels = 0;
    size_t bytes = 0;
    for (const BenchFile& f : files) {
        pixels += f.pixels;
        bytes += f.bytes.size();
    }
    // About 50 M pixels per decoder and group.
    const int rounds = std::max(1, int(50'000'000 / pixels / 3));
    size_t checksum = 0;
    auto ours = [&](const BenchFile& f) {
        decoder.Decode(f.bytes);
        checksum += decoder.Pixels().size();
    };
    auto giflib = [&](const BenchFile& f) {
        checksum += ksv::test::DecodeWithGiflib(f.bytes.data(), f.bytes.size()).pixels.size();
    };
    SecondsFor(files, 1, ours); // warm-up
    SecondsFor(files, 1, giflib);
    double oursSeconds = 0;
    double giflibSeconds = 0;
    for (int i = 0; i < 3; ++i) {
        oursSeconds += SecondsFor(files, rounds, ours);
        giflibSeconds += SecondsFor(files, rounds, giflib);
    }
    const double megapixels = double(pixels) * rounds * 3 / 1e6;
    const double megabytes = double(bytes) * rounds * 3 / 1e6;
    std::printf("%-9s %2zu files, %8zu pixels x %5d: GifDecoder %7.1f Mpixel/s (%6.1f MB/s), "
                "giflib %7.1f Mpixel/s (%6.1f MB/s), ratio %.2f\n",
                group, files.size(), pixels, rounds * 3, megapixels / oursSeconds,
                megabytes / oursSeconds, megapixels / giflibSeconds, megabytes / giflibSeconds,
                giflibSeconds / oursSeconds);
    return checksum == 0 ? 0.0 : giflibSeconds / oursSeconds;
}

} // namespace

int main() {
    const std::vector<BenchFile> files = MakeFiles();
    std::vector<BenchFile> icons;
    std::vector<BenchFile> pictures;
    auto decoder = std::make_unique<ksv::GifDecoder>();
    for (const BenchFile& f : files) {
        if (f.bytes.empty()) {
            std::fprintf(stderr, "giflib could not encode %s\n", f.name.c_str());
            return 1;
        }
        // Both decoders must give the same pictures before their speed means anything.
        const ksv::test::GiflibPicture reference =
            ksv::test::DecodeWithGiflib(f.bytes.data(), f.bytes.size());
        if (!decoder->Decode(f.bytes) || !reference.ok || decoder->Pixels() != reference.pixels) {
            std::fprintf(stderr, "pictures differ: %s\n", f.name.c_str());
            return 1;
        }
        (f.pixels <= 48 * 48 ? icons : pictures).push_back(f);
    }
    Measure("icons", icons, *decoder);
    Measure("pictures", pictures, *decoder);
    const double ratio = Measure("all", files, *decoder);
    std::printf("throughput ratio GifDecoder / giflib DGifSlurp + colour lookup: %.2f "
                "(target >= 1.0)\n",
                ratio);
    return 0;
}
