// kestrovane-demo-device: a panel device at the far end of a pseudo-terminal or a TCP
// connection, registered as a COM port so that Kestrovane can connect to it.

#include "demo_device.h"
#include "pty_port.h"
#include "tcp_listen_port.h"

#include "link/port_path.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
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
    std::optional<int> tcpPort; // listen on TCP instead of a pseudo-terminal
    std::string tcpHost = "127.0.0.1";
};

[[noreturn]] void Usage(int status) {
    std::cerr << "usage: kestrovane-demo-device [--port N] [--ports-folder DIR] [--tcp PORT]"
                 " [--tcp-host ADDR]\n"
                 "  --port N           register as COM<N>: (1..1000, default 8)\n"
                 "  --ports-folder DIR where the COM<N> entry goes (default "
              << ksv::DefaultLinkPaths().portsFolder
              << ")\n"
                 "  --tcp PORT         listen on TCP port PORT (0: any free one) instead of a\n"
                 "                     pseudo-terminal; COM<N> then names tcp://ADDR:PORT\n"
                 "  --tcp-host ADDR    the IPv4 address to listen on (default 127.0.0.1)\n";
    std::exit(status);
}

// A whole decimal number in [low, high], or nothing.
std::optional<int> NumberIn(const char* text, long low, long high) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || value < low || value > high) {
        return std::nullopt;
    }
    return static_cast<int>(value);
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
            const std::optional<int> port = NumberIn(argv[++i], 1, 1000);
            if (!port) {
                Usage(2);
            }
            options.port = *port;
        } else if (arg == "--tcp") {
            options.tcpPort = NumberIn(argv[++i], 0, 65535);
            if (!options.tcpPort) {
                Usage(2);
            }
        } else if (arg == "--tcp-host") {
            options.tcpHost = argv[++i];
        } else if (arg == "--ports-folder") {
            options.portsFolder = argv[++i];
        } else {
            Usage(2);
        }
    }
    return options;
}

std::unique_ptr<ksv::demo::DevicePort> OpenPort(const Options& options) {
    if (options.tcpPort) {
        auto port = std::make_unique<ksv::demo::TcpListenPort>(
            options.tcpHost, static_cast<uint16_t>(*options.tcpPort), options.port,
            options.portsFolder);
        std::cerr << "demo-device: COM" << options.port << ": is " << port->EntryPath() << " -> "
                  << port->Address() << "\n";
        return port;
    }
    auto port = std::make_unique<ksv::demo::PtyPort>(options.port, options.portsFolder);
    std::cerr << "demo-device: COM" << options.port << ": is " << port->LinkPath() << " -> "
              << port->SlavePath() << "\n";
    return port;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    try {
        const std::unique_ptr<ksv::demo::DevicePort> port = OpenPort(options);
        ksv::demo::DemoDevice device(*port, std::cerr);
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
