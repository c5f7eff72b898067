#include "demo_options.h"

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <sstream>

namespace ksv::demo {
namespace {

constexpr const char* kProgram = "kestrovane-demo-device";

// A whole decimal number in [low, high], or nothing.
std::optional<int> NumberIn(const std::string& text, long low, long high) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || errno != 0 || value < low || value > high) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

// A replay speed-up: a number above 0 and up to 1000.
std::optional<double> SpeedIn(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || errno != 0 || !(value > 0) || value > 1000) {
        return std::nullopt;
    }
    return value;
}

// One option. `apply` takes the value over; false when it will not do. A switch has no
// valueName and is applied with an empty value.
struct DemoOption {
    std::string name;
    std::string valueName;
    std::string help; // may name the default, read from `defaults`
    std::function<bool(DemoOptions&, const std::string& value)> apply;
};

// The options, in the order the usage text lists them.
std::vector<DemoOption> Options(const DemoOptions& defaults) {
    return {
        {"--port", "N", "register as COM<N>: (1..1000, default 8)",
         [](DemoOptions& o, const std::string& v) {
             const std::optional<int> port = NumberIn(v, 1, 1000);
             o.port = port.value_or(o.port);
             return port.has_value();
         }},
        {"--ports-folder", "DIR",
         "where the COM<N> entry goes (default " + defaults.portsFolder + ")",
         [](DemoOptions& o, const std::string& v) { return !(o.portsFolder = v).empty(); }},
        {"--tcp", "PORT",
         "listen on TCP port PORT (0: any free one) instead of a pseudo-terminal;\n"
         "COM<N> then names tcp://ADDR:PORT",
         [](DemoOptions& o, const std::string& v) {
             o.tcpPort = NumberIn(v, 0, 65535);
             return o.tcpPort.has_value();
         }},
        {"--tcp-host", "ADDR", "the IPv4 address to listen on (default 127.0.0.1)",
         [](DemoOptions& o, const std::string& v) { return !(o.tcpHost = v).empty(); }},
        {"--replay", "FILE",
         "play the device's side of a recording (kestrovane --record) with its\n"
         "timing, from the client's Hello on, instead of the demo panel",
         [](DemoOptions& o, const std::string& v) { return !(o.replayPath = v).empty(); }},
        {"--speed", "X", "with --replay: play X times as fast (0.01..1000, default 1)",
         [](DemoOptions& o, const std::string& v) { return (o.speed = SpeedIn(v)).has_value(); }},
    };
}

std::string Usage(const std::vector<DemoOption>& options) {
    std::ostringstream text;
    text << "usage: " << kProgram;
    for (const DemoOption& option : options) {
        text << " [" << option.name << (option.valueName.empty() ? "" : " " + option.valueName)
             << "]";
    }
    text
        << "\nA panel device on a pseudo-terminal or a TCP port, for Kestrovane to connect to.\n\n";
    const auto line = [&text](const std::string& left, const std::string& help) {
        text << "  " << left << std::string(left.size() < 20 ? 20 - left.size() : 1, ' ');
        for (const char c : help) {
            text << c << (c == '\n' ? std::string(22, ' ') : "");
        }
        text << "\n";
    };
    for (const DemoOption& option : options) {
        line(option.name + (option.valueName.empty() ? "" : " " + option.valueName), option.help);
    }
    line("-h, --help", "show this help and exit");
    line("--version", "show the version and exit");
    return text.str();
}

DemoCommandLine Refuse(const std::vector<DemoOption>& options, const std::string& error) {
    DemoCommandLine result;
    result.exitStatus = 2;
    result.text = std::string(kProgram) + ": " + error + "\n\n" + Usage(options);
    return result;
}

} // namespace

DemoCommandLine ParseDemoOptions(const std::vector<std::string>& arguments,
                                 const DemoOptions& defaults, const std::string& version) {
    const std::vector<DemoOption> options = Options(defaults);
    DemoCommandLine result;
    result.options = defaults;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            return {defaults, 0, Usage(options)};
        }
        if (argument == "--version") {
            return {defaults, 0, std::string(kProgram) + " " + version + "\n"};
        }
        const DemoOption* option = nullptr;
        for (const DemoOption& candidate : options) {
            option = candidate.name == argument ? &candidate : option;
        }
        if (option == nullptr) {
            return Refuse(options, "unknown option '" + argument + "'");
        }
        std::string value;
        if (!option->valueName.empty()) {
            if (i + 1 >= arguments.size()) {
                return Refuse(options, argument + " needs " + option->valueName);
            }
            value = arguments[++i];
        }
        if (!option->apply(result.options, value)) {
            return Refuse(options, "'" + value + "' will not do for " + argument);
        }
    }
    if (result.options.speed && result.options.replayPath.empty()) {
        return Refuse(options, "--speed goes with --replay");
    }
    return result;
}

} // namespace ksv::demo
