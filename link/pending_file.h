#pragma once

#include "link/folder_handle.h"
#include "link/result_code.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace ksv {

// A temporary file in a folder that only a complete transfer renames into place; otherwise it
// is removed on destruction, so nothing half-written remains. The folder must outlive it.
class PendingFile {
public:
    PendingFile() = default;
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // kFileNotCreated when the folder takes no new file.
    ResultCode Create(const FolderHandle& folder);
    // kSuccess, or the platform failure of a failed or short write.
    ResultCode Write(const uint8_t* data, size_t length);
    // Closes the file and renames it to `name` in its folder (replacing a file or a link there,
    // never following one). The platform failure of the close, or kFileNotCreated.
    ResultCode Commit(const std::string& name);

private:
    int m_folderFd = -1;
    int m_fd = -1;
    std::string m_tempName;
};

// Temporary files are named ".incoming-<pid>-<n>" after the process writing them.
bool IsIncomingName(const std::string& name);
// Removes the temporary files below `root` whose process has ended (killed mid-transfer); those
// of a running process are left to it. Links are not followed. The number removed.
size_t RemoveLeftoverIncoming(const std::string& root);

// Whether a file of `size` bytes leaves the file system its reserve: 5 % of its size, at most
// 1 GiB.
bool LeavesFreeReserve(uint64_t size, uint64_t availableBytes, uint64_t totalBytes);

} // namespace ksv
