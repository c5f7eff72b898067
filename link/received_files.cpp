#include "link/received_files.h"

#include "link/chunked_read.h"
#include "link/decoders.h"
#include "link/field_block.h"
#include "platform/ansi_codepage.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ksv {

namespace {

constexpr uint32_t kMaxNameBytes = 64 * 1024;
constexpr uint32_t kFilePiece = 4096;

bool IsSeparator(char16_t ch) {
    return ch == u'\\' || ch == u'/';
}

bool IsAsciiLetter(char16_t ch) {
    return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z');
}

bool HasControlChar(const std::u16string& component) {
    for (char16_t ch : component) {
        if (ch < 0x20 || ch == 0x7F) {
            return true;
        }
    }
    return false;
}

// Creates `path` and its missing parents; an existing entry must be a real folder.
bool MakeFolders(const std::string& path) {
    std::string prefix;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        prefix = path.substr(0, end);
        start = end + 1;
        if (prefix.empty()) {
            continue; // the root of an absolute path
        }
        if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A temporary file beside the target that only a complete transfer renames into place.
class PendingFile {
public:
    ~PendingFile() {
        if (m_fd >= 0) {
            close(m_fd);
        }
        if (!m_tempPath.empty()) {
            unlink(m_tempPath.c_str());
        }
    }

    bool Create(const std::string& folder) {
        m_tempPath = folder + "/.incoming-XXXXXX";
        m_fd = mkstemp(&m_tempPath[0]);
        if (m_fd < 0) {
            m_tempPath.clear();
            return false;
        }
        return true;
    }

    // 0, or the errno of a failed or short write.
    int Write(const uint8_t* data, size_t length) {
        while (length > 0) {
            const ssize_t done = write(m_fd, data, length);
            if (done < 0 && errno == EINTR) {
                continue;
            }
            if (done <= 0) {
                return done < 0 ? errno : EIO;
            }
            data += done;
            length -= static_cast<size_t>(done);
        }
        return 0;
    }

    // 0, the errno of the close, or kFileNotCreated when the target cannot take the file.
    int Commit(const std::string& target) {
        const int fd = m_fd;
        m_fd = -1;
        if (close(fd) != 0) {
            return errno;
        }
        if (rename(m_tempPath.c_str(), target.c_str()) != 0) {
            return kFileNotCreated;
        }
        m_tempPath.clear();
        return 0;
    }

private:
    int m_fd = -1;
    std::string m_tempPath;
};

struct FileOutcome {
    ResultCode readResult = kSuccess;  // a failed read ends the message
    ResultCode localResult = kSuccess; // a refused or failed file; the stream stays in step
    std::string path;                  // the local path written
};

// Copies `size` bytes from the port to `relative` below `folder`, or reads them past when the
// file cannot be written.
FileOutcome StoreFile(ByteReader& in, uint32_t size, const std::string& folder,
                      const std::optional<std::string>& relative) {
    FileOutcome outcome;
    PendingFile file;
    std::string target;
    if (!relative || folder.empty()) { // an empty folder would make the path absolute
        outcome.localResult = kFileNotCreated;
    } else {
        target = folder + "/" + *relative;
        const std::string parent = target.substr(0, target.rfind('/'));
        if (!MakeFolders(parent) || !file.Create(parent)) {
            outcome.localResult = kFileNotCreated;
        }
    }
    uint8_t piece[kFilePiece];
    for (uint32_t done = 0; done < size;) {
        const uint32_t count = std::min(kFilePiece, size - done);
        outcome.readResult = in.ReadBytes(piece, count);
        if (outcome.readResult != kSuccess) {
            return outcome;
        }
        done += count;
        if (outcome.localResult == kSuccess) {
            const int err = file.Write(piece, count);
            outcome.localResult = err ? PlatformError(err) : kSuccess;
        }
    }
    if (outcome.localResult == kSuccess) {
        const int err = file.Commit(target);
        outcome.localResult = err ? static_cast<ResultCode>(err) : kSuccess;
    }
    if (outcome.localResult == kSuccess) {
        outcome.path = target;
    }
    return outcome;
}

// A name is refused (unset) when it is longer than any sensible path.
ResultCode ReadFileName(ByteReader& in, bool wide, std::optional<std::u16string>& name) {
    uint32_t length = 0;
    ResultCode rc = ReadU32(in, length);
    if (rc != kSuccess) {
        return rc;
    }
    name.reset();
    if (length > kMaxNameBytes) {
        return SkipBytes(in, length);
    }
    std::vector<uint8_t> bytes;
    rc = ReadChunked(in, length, bytes);
    if (rc != kSuccess) {
        return rc;
    }
    std::u16string text =
        wide ? WideFromBytes(bytes.data(), bytes.size()) : AnsiToWide(bytes.data(), bytes.size());
    text.resize(std::min(text.size(), text.find(u'\0')));
    name = std::move(text);
    return kSuccess;
}

} // namespace

std::optional<std::string> MapDevicePath(const std::u16string& devicePath) {
    std::u16string path = devicePath;
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == u':') {
        path.erase(0, 2);
    }
    std::string mapped;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) {
            ++end;
        }
        const std::u16string component = path.substr(start, end - start);
        start = end + 1;
        if (component.empty()) {
            continue;
        }
        if (component == u"." || component == u".." || HasControlChar(component)) {
            return std::nullopt;
        }
        if (!mapped.empty()) {
            mapped.push_back('/');
        }
        mapped += Utf16ToUtf8(component);
    }
    if (mapped.empty()) {
        return std::nullopt;
    }
    return mapped;
}

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD; // a lone surrogate
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<uint8_t>(text[i]);
        const size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        if ((lead >= 0x80 && lead < 0xC0) || i + extra >= text.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            cp = (cp << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
        }
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

ResultCode ReceiveFiles(ByteReader& in, PanelStore& store, ErrorReporter& /*reporter*/,
                        const std::string& filesFolder) {
    const StoreLock lock(store);
    uint32_t id = 0;
    ResultCode rc = ReadU32(in, id);
    if (rc != kSuccess) {
        return rc;
    }
    ControlRecord* record = lock.FindControl(id);
    bool wide = false;
    if (record) {
        record->valueUpdated = 1;
        wide = record->Wide();
    }
    uint32_t count = 0;
    rc = ReadU32(in, count);
    if (rc != kSuccess) {
        return rc;
    }
    ResultCode result = kSuccess;
    for (uint32_t i = 0; i < count; ++i) {
        std::optional<std::u16string> name;
        uint32_t size = 0;
        rc = ReadFileName(in, wide, name);
        if (rc == kSuccess) {
            rc = ReadU32(in, size);
        }
        if (rc != kSuccess) {
            return rc;
        }
        const std::optional<std::string> relative =
            name ? MapDevicePath(*name) : std::optional<std::string>();
        const FileOutcome outcome = StoreFile(in, size, filesFolder, relative);
        if (outcome.readResult != kSuccess) {
            return outcome.readResult;
        }
        if (outcome.localResult != kSuccess) {
            result = result == kSuccess ? outcome.localResult : result;
            continue;
        }
        if (i == 0 && record) {
            record->fileName = Utf8ToUtf16(outcome.path);
            record->hasFileName = true;
        }
    }
    return result;
}

} // namespace ksv
