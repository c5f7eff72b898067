#include "link/port_path.h"

#include "link/line_speed.h"
#include "link/tcp_address.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace ksv {
namespace {

std::string BaseFolder(const char* xdgVariable, const char* homeFallback) {
    const char* xdg = std::getenv(xdgVariable);
    if (xdg && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/" + homeFallback;
}

std::string EntryPath(int portNumber, const std::string& portsFolder) {
    return portsFolder + "/COM" + std::to_string(portNumber);
}

std::string FirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The speed a word of digits names; 0 past any rate a line could run at.
uint32_t SpeedOf(const std::string& digits) {
    uint64_t value = 0;
    for (char c : digits) {
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > 100000000) {
            return 0;
        }
    }
    return static_cast<uint32_t>(value);
}

// A name in the folder that no one else picks at the same moment.
std::string TemporaryName(const std::string& entry) {
    return entry + ".new-" + std::to_string(getpid());
}

} // namespace

LinkPaths DefaultLinkPaths() {
    LinkPaths paths;
    paths.portsFolder = BaseFolder("XDG_CONFIG_HOME", ".config") + "/Kestrovane/ports";
    paths.filesRoot = BaseFolder("XDG_DATA_HOME", ".local/share") + "/Kestrovane/files";
    return paths;
}

PortEntry ParsePortEntryLine(const std::string& line) {
    size_t end = line.size();
    while (end > 0 && IsBlank(line[end - 1])) {
        --end;
    }
    const std::string trimmed = line.substr(0, end);
    PortEntry entry{trimmed, kDefaultLineSpeed};
    const size_t space = trimmed.find_last_of(" \t");
    if (space == std::string::npos) {
        return entry;
    }
    const std::string word = trimmed.substr(space + 1);
    if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos) {
        return entry;
    }
    size_t pathEnd = space;
    while (pathEnd > 0 && IsBlank(trimmed[pathEnd - 1])) {
        --pathEnd;
    }
    entry.device = trimmed.substr(0, pathEnd);
    entry.speed = SpeedOf(word);
    return entry;
}

PortEntry ResolvePortEntry(int portNumber, const std::string& portsFolder) {
    const std::string entry = EntryPath(portNumber, portsFolder);
    struct stat info {};
    if (!portsFolder.empty() && lstat(entry.c_str(), &info) == 0) {
        if (S_ISLNK(info.st_mode)) {
            // The link itself is opened, so a relative target resolves against the folder.
            return {entry, kDefaultLineSpeed};
        }
        if (S_ISREG(info.st_mode)) {
            PortEntry parsed = ParsePortEntryLine(FirstLine(entry));
            if (!parsed.device.empty()) {
                return parsed;
            }
        }
    }
    return {"/dev/ttyS" + std::to_string(portNumber - 1), kDefaultLineSpeed};
}

std::string ResolvePortPath(int portNumber, const std::string& portsFolder) {
    return ResolvePortEntry(portNumber, portsFolder).device;
}

bool HasPortEntry(int portNumber, const std::string& portsFolder) {
    struct stat info {};
    return !portsFolder.empty() && lstat(EntryPath(portNumber, portsFolder).c_str(), &info) == 0;
}

int WritePortEntry(int portNumber, const std::string& portsFolder, const std::string& device,
                   uint32_t speed) {
    std::error_code error;
    std::filesystem::create_directories(portsFolder, error);
    if (error) {
        return error.value();
    }
    const std::string entry = EntryPath(portNumber, portsFolder);
    const std::string temporary = TemporaryName(entry);
    unlink(temporary.c_str());
    if (speed == kDefaultLineSpeed && !IsTcpEntry(device)) {
        if (symlink(device.c_str(), temporary.c_str()) != 0) {
            return errno;
        }
    } else {
        std::ofstream file(temporary, std::ios::trunc);
        file << device;
        if (!IsTcpEntry(device)) {
            file << ' ' << speed;
        }
        file << '\n';
        file.close();
        if (!file) {
            unlink(temporary.c_str());
            return EIO;
        }
    }
    if (std::rename(temporary.c_str(), entry.c_str()) != 0) {
        const int err = errno;
        unlink(temporary.c_str());
        return err;
    }
    return 0;
}

std::string ShownDevicePath(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_symlink(path, error)) {
        return path;
    }
    fs::path target = fs::read_symlink(path, error);
    if (error) {
        return path;
    }
    if (target.is_relative()) {
        target = fs::path(path).parent_path() / target;
    }
    return target.lexically_normal().string();
}

} // namespace ksv
