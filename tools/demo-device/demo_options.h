#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ksv::demo {

// What the demo device was asked for on its command line. Each option of the table in
// demo_options.cpp fills one field.
struct DemoOptions {
    int port = 8;
    std::string portsFolder;
    std::optional<int> tcpPort; // listen on TCP instead of a pseudo-terminal
    std::string tcpHost = "127.0.0.1";
    std::string replayPath;      // play this recording's device side instead of the demo panel
    std::optional<double> speed; // the replay's speed-up
};

// The command line read: run with `options`, or print `text` and end with `exitStatus` (0 for
// --help and --version, on standard output; 2 for a mistake, on standard error).
struct DemoCommandLine {
    DemoOptions options;
    std::optional<int> exitStatus;
    std::string text;
};

// `arguments` without the program's name; `defaults` gives the folders' defaults.
DemoCommandLine ParseDemoOptions(const std::vector<std::string>& arguments,
                                 const DemoOptions& defaults, const std::string& version);

} // namespace ksv::demo
