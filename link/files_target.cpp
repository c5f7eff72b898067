#include "link/files_target.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace ksv {

ResultCode FilesTarget::OpenDeviceFolder() {
    if (m_device.IsOpen()) {
        return kSuccess;
    }
    if (m_place.deviceFolder.empty()) {
        return kFileNotCreated;
    }
    FolderHandle root;
    ResultCode rc = FolderHandle::OpenRoot(m_place.root, root);
    if (rc == kSuccess) {
        rc = root.OpenChild(m_place.deviceFolder, m_device);
    }
    if (rc == kSuccess) {
        m_usage = m_device.Usage();
        m_allUsage = root.Usage();
    }
    return rc;
}

ResultCode FilesTarget::Prepare(const std::string& relative, uint64_t size, FolderHandle& folder,
                                std::string& leaf, PendingFile& file) {
    ResultCode rc = OpenDeviceFolder();
    if (rc != kSuccess) {
        return rc;
    }
    const size_t cut = relative.rfind('/');
    leaf = cut == std::string::npos ? relative : relative.substr(cut + 1);
    rc = m_device.Duplicate(folder);
    for (size_t start = 0; rc == kSuccess && cut != std::string::npos && start <= cut;) {
        const size_t end = relative.find('/', start);
        FolderHandle next;
        rc = folder.OpenChild(relative.substr(start, end - start), next);
        folder = std::move(next);
        start = end + 1;
    }
    if (rc == kSuccess) {
        rc = CheckRoom(folder, leaf, size);
    }
    return rc == kSuccess ? file.Create(folder) : rc;
}

ResultCode FilesTarget::CheckRoom(const FolderHandle& folder, const std::string& leaf,
                                  uint64_t size) {
    struct stat old {};
    const bool replaces =
        fstatat(folder.Fd(), leaf.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode);
    m_replaced = replaces ? static_cast<uint64_t>(old.st_size) : 0;
    if (m_usage - std::min(m_usage, m_replaced) + size > m_place.quotaBytes ||
        m_allUsage - std::min(m_allUsage, m_replaced) + size > m_place.allDevicesQuotaBytes) {
        return PlatformError(EDQUOT);
    }
    struct statvfs fs {};
    if (fstatvfs(folder.Fd(), &fs) != 0) {
        return PlatformError(errno);
    }
    const uint64_t unit = fs.f_frsize ? fs.f_frsize : fs.f_bsize;
    if (!LeavesFreeReserve(size, uint64_t{fs.f_bavail} * unit, uint64_t{fs.f_blocks} * unit)) {
        return PlatformError(ENOSPC);
    }
    return kSuccess;
}

ResultCode FilesTarget::Commit(PendingFile& file, const std::string& leaf, uint64_t size) {
    const ResultCode rc = file.Commit(leaf);
    if (rc == kSuccess) {
        m_usage = m_usage - std::min(m_usage, m_replaced) + size;
        m_allUsage = m_allUsage - std::min(m_allUsage, m_replaced) + size;
    }
    return rc;
}

std::string FilesTarget::PathOf(const std::string& relative) const {
    return m_place.root + "/" + m_place.deviceFolder + "/" + relative;
}

} // namespace ksv
