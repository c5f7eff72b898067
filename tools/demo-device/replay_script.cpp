#include "replay_script.h"

#include "traffic/recording_reader.h"

#include <optional>

namespace ksv::demo {

bool LoadReplayScript(const std::string& path, ReplayScript& script, std::string& error) {
    script = ReplayScript();
    RecordingReader reader;
    RecordingReader::Status status = reader.Open(path);
    std::optional<uint64_t> helloAt; // the client's first bytes of the session
    uint64_t total = 0;
    RecordingEntry entry;
    while (status == RecordingReader::Status::kRecord) {
        status = reader.Next(entry);
        if (status != RecordingReader::Status::kRecord) {
            break;
        }
        if (entry.type == RecordType::kPortOpened) {
            ++script.sessions;
            continue;
        }
        if (script.sessions > 1) {
            continue; // only the first session is played
        }
        script.sessions = std::max<size_t>(script.sessions, 1);
        if (entry.type == RecordType::kSent) {
            helloAt = helloAt.value_or(entry.micros);
            continue;
        }
        total += entry.bytes.size();
        if (total > kMaxReplayBytes) {
            error = path + ": the device's side at byte " + std::to_string(entry.offset) +
                    " goes past " + std::to_string(kMaxReplayBytes >> 20) +
                    " MiB, too large to replay";
            return false;
        }
        // Bytes that came before the client's Hello are sent at once when it arrives.
        const uint64_t due = helloAt && entry.micros > *helloAt ? entry.micros - *helloAt : 0;
        script.chunks.push_back({due, std::move(entry.bytes)});
    }
    if (status == RecordingReader::Status::kBad) {
        error = reader.Message();
        return false;
    }
    if (status == RecordingReader::Status::kTruncated) {
        script.warning = reader.Message() + "; replaying what comes before it";
    }
    return true;
}

} // namespace ksv::demo
