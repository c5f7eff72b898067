#include "link/port_path.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

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
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.pop_back();
    }
    return line;
}

} // namespace

LinkPaths DefaultLinkPaths() {
    LinkPaths paths;
    paths.portsFolder = BaseFolder("XDG_CONFIG_HOME", ".config") + "/Kestrovane/ports";
    paths.filesRoot = BaseFolder("XDG_DATA_HOME", ".local/share") + "/Kestrovane/files";
    return paths;
}

std::string ResolvePortPath(int portNumber, const std::string& portsFolder) {
    const std::string entry = EntryPath(portNumber, portsFolder);
    struct stat info {};
    if (!portsFolder.empty() && lstat(entry.c_str(), &info) == 0) {
        if (S_ISLNK(info.st_mode)) {
            // The link itself is opened, so a relative target resolves against the folder.
            return entry;
        }
        if (S_ISREG(info.st_mode)) {
            const std::string device = FirstLine(entry);
            if (!device.empty()) {
                return device;
            }
        }
    }
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

bool HasPortEntry(int portNumber, const std::string& portsFolder) {
    struct stat info {};
    return !portsFolder.empty() && lstat(EntryPath(portNumber, portsFolder).c_str(), &info) == 0;
}

} // namespace ksv
