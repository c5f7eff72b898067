#include "link/pending_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>
#include <utility>

namespace ksv {
namespace {

constexpr int kNameAttempts = 100;
constexpr uint64_t kMaxReserve = uint64_t{1} << 30;

std::string TempName() {
    static std::atomic<uint64_t> counter{std::random_device{}()};
    return ".incoming-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

} // namespace

PendingFile::~PendingFile() {
    if (m_fd >= 0) {
        close(m_fd);
    }
    if (!m_tempName.empty()) {
        unlinkat(m_folderFd, m_tempName.c_str(), 0);
    }
}

ResultCode PendingFile::Create(const FolderHandle& folder) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = TempName();
        const int fd = openat(folder.Fd(), name.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            m_folderFd = folder.Fd();
            m_fd = fd;
            m_tempName = name;
            return kSuccess;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return kFileNotCreated;
}

ResultCode PendingFile::Write(const uint8_t* data, size_t length) {
    while (length > 0) {
        const ssize_t done = write(m_fd, data, length);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return PlatformError(done < 0 ? errno : EIO);
        }
        data += done;
        length -= static_cast<size_t>(done);
    }
    return kSuccess;
}

ResultCode PendingFile::Commit(const std::string& name) {
    const int fd = std::exchange(m_fd, -1);
    if (close(fd) != 0) {
        return PlatformError(errno);
    }
    if (renameat(m_folderFd, m_tempName.c_str(), m_folderFd, name.c_str()) != 0) {
        return kFileNotCreated;
    }
    m_tempName.clear();
    return kSuccess;
}

bool LeavesFreeReserve(uint64_t size, uint64_t availableBytes, uint64_t totalBytes) {
    const uint64_t reserve = std::min(totalBytes / 20, kMaxReserve);
    return size <= availableBytes && availableBytes - size >= reserve;
}

} // namespace ksv
