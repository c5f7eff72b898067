#pragma once

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

// Device path that "COM<n>:" opens: the ports-folder entry COM<n> (a symbolic link to the
// device, or a regular file whose first line is a device path), else /dev/ttyS<n-1>.
std::string ResolvePortPath(int portNumber, const std::string& portsFolder);

// Whether the ports folder has an entry for COM<n> (the dialog shows where it points).
bool HasPortEntry(int portNumber, const std::string& portsFolder);

} // namespace ksv
