#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ksv {

// The --zoom option: "--zoom F" or "--zoom=F"; when given more than once the last one counts.
struct ZoomArgument {
    bool given = false;
    std::optional<int> quarters; // empty when given without a valid factor
};

// Takes every --zoom option out of the program's arguments (the first, the program, stays), so
// that the platform never sees it.
ZoomArgument ExtractZoomArgument(std::vector<std::string>& arguments);

// The arguments to start the program again with: the same ones, with the zoom in quarters in
// place of any --zoom given before.
std::vector<std::string> RestartArguments(std::vector<std::string> arguments, int quarters);

} // namespace ksv
