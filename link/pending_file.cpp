#include "link/pending_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <utility>

namespace ksv {
namespace {

constexpr int kNameAttempts = 100;
constexpr uint64_t kMaxReserve = uint64_t{1} << 30;
constexpr char kIncomingPrefix[] = ".incoming-";

std::string TempName() {
    static std::atomic<uint64_t> counter{std::random_device{}()};
    return kIncomingPrefix + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

bool WriterHasEnded(const std::string& name) {
    const char* digits = name.c_str() + sizeof kIncomingPrefix - 1;
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    if (end == digits || *end != '-' || pid <= 0) {
        return true; // not a name this program makes: nothing writes it
    }
    return kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
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

bool IsIncomingName(const std::string& name) {
    return name.compare(0, sizeof kIncomingPrefix - 1, kIncomingPrefix) == 0;
}

size_t RemoveLeftoverIncoming(const std::string& root) {
    namespace fs = std::filesystem;
    std::error_code error;
    size_t removed = 0;
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (IsIncomingName(name) && it->is_regular_file(error) && !it->is_symlink(error) &&
            WriterHasEnded(name) && fs::remove(it->path(), error)) {
            ++removed;
        }
    }
    return removed;
}

bool LeavesFreeReserve(uint64_t size, uint64_t availableBytes, uint64_t totalBytes) {
    const uint64_t reserve = std::min(totalBytes / 20, kMaxReserve);
    return size <= availableBytes && availableBytes - size >= reserve;
}

} // namespace ksv
