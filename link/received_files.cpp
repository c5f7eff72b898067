#include "link/received_files.h"

#include "link/chunked_read.h"
#include "link/decoders.h"
#include "link/field_block.h"
#include "link/files_target.h"
#include "link/panel_budget.h"
#include "platform/ansi_codepage.h"

#include <algorithm>
#include <cerrno>
#include <vector>

namespace ksv {

namespace {

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

struct FileOutcome {
    ResultCode readResult = kSuccess;  // a failed read ends the message
    ResultCode localResult = kSuccess; // a refused or failed file; the stream stays in step
    ReportReason why = ReportReason::FileNotSaved; // the cause of localResult
    std::string path;                              // the local path written
};

// Taken at the failure, before a later call replaces the platform error.
ReportReason FailureCause(ResultCode result) {
    if (result != kPlatformFailure) {
        return ReportReason::FileNotSaved;
    }
    switch (LastPlatformError()) {
    case EDQUOT:
        return ReportReason::FilesQuotaReached;
    case ENOSPC:
        return ReportReason::DiskNearlyFull;
    default:
        return ReportReason::FileNotSaved;
    }
}

// Copies `size` bytes from the port to `relative` in the device folder, or reads them past
// when the file cannot be written.
FileOutcome StoreFile(ByteReader& in, uint32_t size, FilesTarget& target,
                      const std::optional<std::string>& relative) {
    FileOutcome outcome;
    FolderHandle folder; // outlives the file, which is removed from it unless committed
    PendingFile file;
    std::string leaf;
    outcome.localResult =
        relative ? target.Prepare(*relative, size, folder, leaf, file) : kFileNotCreated;
    outcome.why = relative ? FailureCause(outcome.localResult) : ReportReason::FileNameRefused;
    uint8_t piece[kFilePiece];
    for (uint32_t done = 0; done < size;) {
        const uint32_t count = std::min(kFilePiece, size - done);
        outcome.readResult = in.ReadBytes(piece, count);
        if (outcome.readResult != kSuccess) {
            return outcome;
        }
        done += count;
        if (outcome.localResult == kSuccess) {
            outcome.localResult = file.Write(piece, count);
            outcome.why = FailureCause(outcome.localResult);
        }
    }
    if (outcome.localResult == kSuccess) {
        outcome.localResult = target.Commit(file, leaf, size);
        outcome.why = FailureCause(outcome.localResult);
    }
    if (outcome.localResult == kSuccess) {
        outcome.path = target.PathOf(*relative);
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
    if (length > kMaxFileNameBytes) {
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

void NameFirstFile(PanelStore& store, uint32_t id, const std::string& path) {
    const StoreLock lock(store);
    if (ControlRecord* record = lock.FindControl(id)) {
        record->fileName = Utf8ToUtf16(path);
        record->hasFileName = true;
    }
}

} // namespace

std::optional<std::string> MapDevicePath(const std::u16string& devicePath) {
    std::u16string path = devicePath;
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == u':') {
        path.erase(0, 2);
    }
    std::string mapped;
    size_t components = 0;
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
        if (++components > kMaxFilePathComponents) {
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

// Files are written without the store lock; the record is touched in two short steps.
ResultCode ReceiveFiles(ByteReader& in, PanelStore& store, ErrorReporter& /*reporter*/,
                        const FilesPlace& place, ReportReason* why) {
    uint32_t id = 0;
    ResultCode rc = ReadU32(in, id);
    if (rc != kSuccess) {
        return rc;
    }
    bool wide = false;
    {
        const StoreLock lock(store);
        if (ControlRecord* record = lock.FindControl(id)) {
            record->valueUpdated = 1;
            wide = record->Wide();
        }
    }
    uint32_t count = 0;
    rc = ReadU32(in, count);
    if (rc != kSuccess) {
        return rc;
    }
    FilesTarget target(place);
    ResultCode result = kSuccess;
    ReportReason firstWhy = ReportReason::FileNotSaved;
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
        const FileOutcome outcome = StoreFile(in, size, target, relative);
        if (outcome.readResult != kSuccess) {
            return outcome.readResult;
        }
        if (outcome.localResult != kSuccess) {
            firstWhy = result == kSuccess ? outcome.why : firstWhy;
            result = result == kSuccess ? outcome.localResult : result;
            continue;
        }
        if (i == 0) {
            NameFirstFile(store, id, outcome.path);
        }
    }
    if (result != kSuccess && why != nullptr) {
        *why = firstWhy;
    }
    return result;
}

} // namespace ksv
