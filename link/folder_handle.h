#pragma once

#include "link/result_code.h"

#include <cstdint>
#include <string>

namespace ksv {

// An open folder, closed on destruction. Everything below a folder is reached through its
// descriptor with links never followed, so no name can lead out of it.
class FolderHandle {
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    // Opens `path`, creating it and its parents (mode 0700) when missing. The path itself may
    // pass through links: it is the user's choice, not the device's. kFileNotCreated on failure.
    static ResultCode OpenRoot(const std::string& path, FolderHandle& out);
    // Opens the folder `name` inside this one, creating it (0700) when missing; a link, a file
    // or anything but a real folder there gives kFileNotCreated.
    ResultCode OpenChild(const std::string& name, FolderHandle& out) const;

    // A second handle on this folder.
    ResultCode Duplicate(FolderHandle& out) const;

    // Bytes of the regular files below this folder, links not followed, at most `depth` levels;
    // temporary files of transfers (IsIncomingName) are not counted.
    uint64_t Usage(int depth = 64) const;

private:
    explicit FolderHandle(int fd) : m_fd(fd) {}

    int m_fd = -1;
};

} // namespace ksv
