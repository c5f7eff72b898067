#include "charts/text_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ksv {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0)
            close(m_fd);
    }

    int get() const { return m_fd; }
    // Closes now, so that a failure to flush is seen; 0 or the error number.
    int Close() {
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

} // namespace

FileWriteResult WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.get() < 0)
        return {FileWriteResult::Step::Open, errno};
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(file.get(), bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return {FileWriteResult::Step::Write, n < 0 ? errno : EIO};
        written += static_cast<size_t>(n);
    }
    const int closeError = file.Close();
    if (closeError != 0)
        return {FileWriteResult::Step::Write, closeError};
    return {};
}

} // namespace ksv
