#pragma once

#include <cstdint>
#include <string>

namespace ksv {

// Folders the link uses on this machine.
struct LinkPaths {
    std::string portsFolder; // entries COM<n>: a symlink to a device, or a file naming one
    std::string filesRoot;   // received files go to <filesRoot>/<device name>/
};

// $XDG_CONFIG_HOME/Kestrovane/ports and $XDG_DATA_HOME/Kestrovane/files, with the usual
// fallbacks under $HOME (~/.config, ~/.local/share).
LinkPaths DefaultLinkPaths();

// What "COM<n>:" opens and how fast.
struct PortEntry {
    std::string device; // a device path (the entry itself for a link), or "tcp://HOST:PORT"
    uint32_t speed = 0; // baud; 0 for a speed written that is no number (refused on opening)
};

// The ports-folder entry COM<n>: a symbolic link to the device (115200 baud), or a regular file
// whose first line is a device path, optionally followed by a space and the speed
// ("/dev/ttyUSB0 9600"). Without an entry, /dev/ttyS<n-1> at 115200.
PortEntry ResolvePortEntry(int portNumber, const std::string& portsFolder);
// The device part of ResolvePortEntry.
std::string ResolvePortPath(int portNumber, const std::string& portsFolder);

// One line of a file entry: "PATH" or "PATH SPEED". A last word that is all digits is the
// speed (0 when out of range).
PortEntry ParsePortEntryLine(const std::string& line);

// Makes COM<n> open `device` at `speed`, replacing any entry in one rename: a symbolic link
// when the speed is the default (and not TCP), otherwise a one-line file. 0, or the errno of
// the failure (the old entry then stays).
int WritePortEntry(int portNumber, const std::string& portsFolder, const std::string& device,
                   uint32_t speed);

// A link's target as the user thinks of it (relative targets made absolute); other paths as
// they stand.
std::string ShownDevicePath(const std::string& path);

// Whether the ports folder has an entry for COM<n> (the dialog shows where it points).
bool HasPortEntry(int portNumber, const std::string& portsFolder);

} // namespace ksv
