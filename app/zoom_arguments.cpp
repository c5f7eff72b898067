#include "app/zoom_arguments.h"

#include "app/zoom_factor.h"

#include <string_view>

namespace ksv {
namespace {

constexpr std::string_view kOption = "--zoom";
constexpr std::string_view kOptionWithValue = "--zoom=";

} // namespace

ZoomArgument ExtractZoomArgument(std::vector<std::string>& arguments) {
    ZoomArgument result;
    std::vector<std::string> kept;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (i == 0 || (argument != kOption && argument.rfind(kOptionWithValue, 0) != 0)) {
            kept.push_back(arguments[i]);
            continue;
        }
        result.given = true;
        if (argument != kOption) {
            result.quarters = ParseZoomFactor(argument.substr(kOptionWithValue.size()));
        } else if (i + 1 < arguments.size()) {
            result.quarters = ParseZoomFactor(arguments[++i]);
        } else {
            result.quarters.reset();
        }
    }
    arguments = std::move(kept);
    return result;
}

std::vector<std::string> RestartArguments(std::vector<std::string> arguments, int quarters) {
    ExtractZoomArgument(arguments);
    arguments.push_back(std::string(kOption));
    arguments.push_back(FormatZoomFactor(quarters));
    return arguments;
}

} // namespace ksv
