#pragma once

#include <cstdint>
#include <vector>

namespace ksv::demo {

// A small GIF87a picture (a target of coloured rings) for the demo's image control, made in
// code so the example carries no binary file.
std::vector<uint8_t> MakeDemoGif(int size = 40);

// Encodes palette indices 0..3 as a GIF87a file with a four-entry global colour table.
// `palette` holds 4 red, green, blue triples.
std::vector<uint8_t> EncodeGif(int width, int height, const std::vector<uint8_t>& indices,
                               const uint8_t (&palette)[12]);

} // namespace ksv::demo
