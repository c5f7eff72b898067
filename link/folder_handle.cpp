#include "link/folder_handle.h"

#include "link/pending_file.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace ksv {
namespace {

constexpr int kChildFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool MakeParents(const std::string& path) {
    for (size_t end = path.find('/', 1); end != std::string::npos; end = path.find('/', end + 1)) {
        if (mkdir(path.substr(0, end).c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace

FolderHandle::~FolderHandle() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    std::swap(m_fd, other.m_fd);
    return *this;
}

ResultCode FolderHandle::OpenRoot(const std::string& path, FolderHandle& out) {
    if (path.empty() || !MakeParents(path)) {
        return kFileNotCreated;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return kFileNotCreated;
    }
    out = FolderHandle(fd);
    return kSuccess;
}

ResultCode FolderHandle::OpenChild(const std::string& name, FolderHandle& out) const {
    if (mkdirat(m_fd, name.c_str(), 0700) != 0 && errno != EEXIST) {
        return kFileNotCreated;
    }
    const int fd = openat(m_fd, name.c_str(), kChildFlags);
    if (fd < 0) {
        return kFileNotCreated;
    }
    out = FolderHandle(fd);
    return kSuccess;
}

ResultCode FolderHandle::Duplicate(FolderHandle& out) const {
    const int fd = fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
        return PlatformError(errno);
    }
    out = FolderHandle(fd);
    return kSuccess;
}

uint64_t FolderHandle::Usage(int depth) const {
    const int listFd = openat(m_fd, ".", kChildFlags);
    if (listFd < 0) {
        return 0;
    }
    DIR* list = fdopendir(listFd);
    if (list == nullptr) {
        close(listFd);
        return 0;
    }
    uint64_t total = 0;
    while (const dirent* entry = readdir(list)) {
        const std::string name = entry->d_name;
        struct stat info {};
        if (name == "." || name == ".." ||
            fstatat(m_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (S_ISREG(info.st_mode)) {
            total += IsIncomingName(name) ? 0 : static_cast<uint64_t>(info.st_size);
            continue;
        }
        const int childFd =
            S_ISDIR(info.st_mode) && depth > 0 ? openat(m_fd, name.c_str(), kChildFlags) : -1;
        if (childFd >= 0) {
            total += FolderHandle(childFd).Usage(depth - 1);
        }
    }
    closedir(list);
    return total;
}

} // namespace ksv
