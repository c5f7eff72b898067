#include "replay_run.h"

#include "replay_device.h"
#include "replay_script.h"

#include <csignal>
#include <iostream>

namespace ksv::demo {
namespace {

ReplayDevice* g_replay = nullptr;

void OnStopSignal(int) {
    if (g_replay) {
        g_replay->RequestStop();
    }
}

} // namespace

int RunReplay(const DemoOptions& options,
              const std::function<std::unique_ptr<DevicePort>()>& openPort) {
    ReplayScript script;
    std::string error;
    if (!LoadReplayScript(options.replayPath, script, error)) {
        std::cerr << "demo-device: " << error << "\n";
        return 1;
    }
    if (!script.warning.empty()) {
        std::cerr << "demo-device: " << script.warning << "\n";
    }
    if (script.sessions > 1) {
        std::cerr << "demo-device: the recording holds " << script.sessions
                  << " sessions; replaying the first\n";
    }
    try {
        const std::unique_ptr<DevicePort> port = openPort();
        ReplayDevice device(*port, std::move(script), options.speed.value_or(1.0), std::cerr);
        g_replay = &device;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
        std::signal(SIGPIPE, SIG_IGN);
        device.Run();
        g_replay = nullptr;
        std::cerr << "demo-device: stopped\n";
    } catch (const std::exception& failure) {
        std::cerr << "demo-device: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace ksv::demo
