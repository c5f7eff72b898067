// kestrovane-demo-device: a panel device at the far end of a pseudo-terminal, registered as a
// COM port so that Kestrovane can connect to it.

#include "demo_device.h"
#include "pty_port.h"

#include "link/port_path.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

ksv::demo::DemoDevice* g_device = nullptr;

void OnStopSignal(int) {
    if (g_device) {
        g_device->RequestStop();
    }
}

struct Options {
    int port = 8;
    std::string portsFolder = ksv::DefaultLinkPaths().portsFolder;
};

[[noreturn]] void Usage(int status) {
    std::cerr << "usage: kestrovane-demo-device [--port N] [--ports-folder DIR]\n"
                 "  --port N           register as COM<N>: (1..1000, default 8)\n"
                 "  --ports-folder DIR where the COM<N> link goes (default "
              << ksv::DefaultLinkPaths().portsFolder << ")\n";
    std::exit(status);
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage(0);
        }
        if (i + 1 >= argc) {
            Usage(2);
        }
        if (arg == "--port") {
            char* end = nullptr;
            const long port = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || port < 1 || port > 1000) {
                Usage(2);
            }
            options.port = static_cast<int>(port);
        } else if (arg == "--ports-folder") {
            options.portsFolder = argv[++i];
        } else {
            Usage(2);
        }
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    try {
        ksv::demo::PtyPort port(options.port, options.portsFolder);
        std::cerr << "demo-device: COM" << options.port << ": is " << port.LinkPath() << " -> "
                  << port.SlavePath() << "\n";
        ksv::demo::DemoDevice device(port, std::cerr);
        g_device = &device;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
        std::signal(SIGPIPE, SIG_IGN);
        device.Run();
        g_device = nullptr;
        std::cerr << "demo-device: stopped\n";
    } catch (const std::exception& error) {
        std::cerr << "demo-device: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
