#pragma once

#include "link/device_folder.h"
#include "link/folder_handle.h"
#include "link/pending_file.h"
#include "link/result_code.h"

#include <cstdint>
#include <string>

namespace ksv {

// The device folder as one FileTransfer message writes into it: opened on first use, every
// folder below it walked without following links, and the room each file needs checked against
// the file system's free reserve, the device's quota and the quota of all devices before a
// byte is written.
class FilesTarget {
public:
    explicit FilesTarget(FilesPlace place) : m_place(std::move(place)) {}

    // A temporary file for `relative` (a MapDevicePath result) of `size` bytes, its folders
    // made; `folder` receives the folder the file is to be committed in, `leaf` its name.
    // kFileNotCreated, or the platform failures ENOSPC (no free reserve) and EDQUOT (quota).
    ResultCode Prepare(const std::string& relative, uint64_t size, FolderHandle& folder,
                       std::string& leaf, PendingFile& file);
    // Renames the file into place and counts it against the quota.
    ResultCode Commit(PendingFile& file, const std::string& leaf, uint64_t size);

    // The local path of `relative`, for the file control.
    std::string PathOf(const std::string& relative) const;

private:
    ResultCode OpenDeviceFolder();
    ResultCode CheckRoom(const FolderHandle& folder, const std::string& leaf, uint64_t size);

    FilesPlace m_place;
    FolderHandle m_device;
    uint64_t m_usage = 0;    // bytes the device folder holds
    uint64_t m_allUsage = 0; // bytes the folders of all devices hold
    uint64_t m_replaced = 0; // size of the file the prepared one replaces
};

} // namespace ksv
