// kestrovane-demo-device: a panel device at the far end of a pseudo-terminal or a TCP
// connection, registered as a COM port so that Kestrovane can connect to it.

#include "demo_device.h"
#include "demo_options.h"
#include "pty_port.h"
#include "replay_run.h"
#include "tcp_listen_port.h"

#include "link/port_path.h"

#include <csignal>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

namespace {

ksv::demo::DemoDevice* g_device = nullptr;

void OnStopSignal(int) {
    if (g_device) {
        g_device->RequestStop();
    }
}

std::unique_ptr<ksv::demo::DevicePort> OpenPort(const ksv::demo::DemoOptions& options) {
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
    ksv::demo::DemoOptions defaults;
    defaults.portsFolder = ksv::DefaultLinkPaths().portsFolder;
    const ksv::demo::DemoCommandLine commandLine =
        ksv::demo::ParseDemoOptions({argv + 1, argv + argc}, defaults, KSV_VERSION);
    if (commandLine.exitStatus) {
        (*commandLine.exitStatus == 0 ? std::cout : std::cerr) << commandLine.text;
        return *commandLine.exitStatus;
    }
    const ksv::demo::DemoOptions& options = commandLine.options;
    if (!options.replayPath.empty()) {
        return ksv::demo::RunReplay(options, [&options] { return OpenPort(options); });
    }
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
