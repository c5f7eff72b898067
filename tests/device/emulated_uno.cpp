#include "emulated_uno.h"

#include "link/frame.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace ksv::device_testing {
namespace {

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string rest = path == nullptr ? "" : path;
    size_t at = 0;
    while (at <= rest.size()) {
        const size_t end = rest.find(':', at);
        const std::string dir = rest.substr(at, end == std::string::npos ? end : end - at);
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
        if (end == std::string::npos) {
            break;
        }
        at = end + 1;
    }
    return false;
}

// Runs a program to its end; its exit status, or -1 when it could not start.
int Run(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

EmulatedUno::~EmulatedUno() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
    if (m_output >= 0) {
        close(m_output);
    }
    if (m_line >= 0) {
        close(m_line);
    }
}

std::string EmulatedUno::MissingTools() {
    std::string missing;
    for (const char* tool : {"avr-gcc", "qemu-system-avr"}) {
        if (!OnPath(tool)) {
            missing += std::string(missing.empty() ? "" : ", ") + tool;
        }
    }
    return missing;
}

bool EmulatedUno::Start(const std::string& sourceDir, const std::string& outDir, std::string& error,
                        std::chrono::seconds deadline) {
    if (Run({sourceDir + "/device/examples/uno/build.sh", outDir}) != 0) {
        error = "the Uno example did not build";
        return false;
    }
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        error = "no pipe";
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    const std::string firmware = outDir + "/uno-example.elf";
    std::vector<std::string> argv = {
        "qemu-system-avr", "-M",   "uno",      "-bios", firmware, "-serial", "pty",
        "-display",        "none", "-monitor", "none"};
    std::vector<char*> args;
    for (std::string& arg : argv) {
        args.push_back(arg.data());
    }
    args.push_back(nullptr);
    const int spawned = posix_spawnp(&m_pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    m_output = pipeEnds[0];
    if (spawned != 0) {
        m_pid = -1;
        error = "qemu-system-avr did not start";
        return false;
    }
    // "char device redirected to /dev/pts/N (label serial0)", on stdout or stderr by version.
    const std::regex redirected("redirected to (/dev/pts/[0-9]+)");
    const auto end = std::chrono::steady_clock::now() + deadline;
    std::string said;
    std::smatch match;
    while (!std::regex_search(said, match, redirected)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd ready{m_output, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            error = "the emulator named no serial port in time: " + said;
            return false;
        }
        char buffer[256];
        const ssize_t n = read(m_output, buffer, sizeof buffer);
        if (n <= 0) {
            error = "the emulator ended: " + said;
            return false;
        }
        said.append(buffer, static_cast<size_t>(n));
    }
    m_serialPath = match[1];
    return Handshake(deadline, error);
}

bool EmulatedUno::Handshake(std::chrono::seconds deadline, std::string& error) {
    m_line = open(m_serialPath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (m_line < 0 || tcgetattr(m_line, &raw) != 0) {
        error = "cannot open " + m_serialPath;
        return false;
    }
    cfmakeraw(&raw);
    tcsetattr(m_line, TCSANOW, &raw);
    const std::array<uint8_t, 20> hello = EncodeFramePrefix(kMsgHello);
    const auto end = std::chrono::steady_clock::now() + deadline;
    bool answered = false;
    while (!answered) {
        if (std::chrono::steady_clock::now() >= end) {
            error = "the firmware never answered Hello";
            return false;
        }
        if (write(m_line, hello.data(), hello.size()) != static_cast<ssize_t>(hello.size())) {
            error = "cannot write to " + m_serialPath;
            return false;
        }
        pollfd ready{m_line, POLLIN, 0};
        answered = poll(&ready, 1, 300) > 0;
    }
    // Drain the answer until the line is quiet, so the client starts on a silent line.
    char buffer[512];
    pollfd ready{m_line, POLLIN, 0};
    while (poll(&ready, 1, 500) > 0 && read(m_line, buffer, sizeof buffer) > 0) {
    }
    return true;
}

} // namespace ksv::device_testing
