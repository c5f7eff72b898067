#include "traffic/frame_summary.h"

#include "link/frame.h"

#include <cstdio>

namespace ksv {
namespace {

constexpr size_t kMaxEntriesShown = 6;
constexpr size_t kMaxValueBytesShown = 8;
constexpr size_t kMaxTextShown = 40;

// Reads the kept payload; running out sets `short` and yields zeros.
class Cursor {
public:
    explicit Cursor(const CapturedFrame& frame)
        : m_bytes(frame.bytes), m_offset(kFramePrefixSize) {}

    bool Has(size_t length) const { return m_offset + length <= m_bytes.size(); }
    bool RanOut() const { return m_ranOut; }
    uint32_t U32() {
        if (!Has(4)) {
            m_ranOut = true;
            m_offset = m_bytes.size();
            return 0;
        }
        const uint32_t value = GetU32(m_bytes.data() + m_offset);
        m_offset += 4;
        return value;
    }
    // Up to `length` bytes from here (fewer when they were not kept); moves past all of them.
    void Take(uint64_t length, const uint8_t** start, size_t* available) {
        *start = m_bytes.data() + m_offset;
        *available = Has(length) ? static_cast<size_t>(length) : m_bytes.size() - m_offset;
        if (*available < length) {
            m_ranOut = true;
        }
        m_offset += *available;
    }

private:
    const std::vector<uint8_t>& m_bytes;
    size_t m_offset;
    bool m_ranOut = false;
};

std::string Hex32(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*x", digits, value);
    return text;
}

std::string Id(uint32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "#0x%x", id);
    return text;
}

std::string HexBytes(const uint8_t* data, size_t length, bool more) {
    std::string text;
    char pair[4];
    for (size_t i = 0; i < length && i < kMaxValueBytesShown; ++i) {
        std::snprintf(pair, sizeof pair, i == 0 ? "%02x" : " %02x", data[i]);
        text += pair;
    }
    if (more || length > kMaxValueBytesShown) {
        text += " …";
    }
    return text.empty() ? "(empty)" : text;
}

// Printable ASCII as it is, anything else as '.'; wide text by its low bytes.
std::string PlainText(const uint8_t* data, size_t length, bool wide) {
    std::string text;
    const size_t step = wide ? 2 : 1;
    for (size_t i = 0; i + step <= length && text.size() < kMaxTextShown; i += step) {
        const uint8_t c = data[i];
        const bool high = wide && data[i + 1] != 0;
        if (c == 0 && !high) {
            break;
        }
        text += (c >= 0x20 && c < 0x7f && !high) ? static_cast<char>(c) : '.';
    }
    return text;
}

// "#id = bytes" entries of Values, "#id flags w" of StyleUpdate, "#id row p" of MatrixRows.
std::string Entries(Cursor& in, uint16_t kind) {
    const uint32_t count = in.U32();
    std::string text;
    if (count == 0 && !in.RanOut()) {
        return "no entries";
    }
    for (uint32_t i = 0; i < count && !in.RanOut(); ++i) {
        if (i == kMaxEntriesShown) {
            text += ", … (" + std::to_string(count) + " entries)";
            return text;
        }
        const uint32_t id = in.U32();
        const uint32_t length = in.U32();
        if (in.RanOut()) {
            break;
        }
        const uint8_t* data = nullptr;
        size_t available = 0;
        in.Take(length, &data, &available);
        text += i == 0 ? "" : ", ";
        text += Id(id);
        if (kind == kMsgStyleUpdate && available >= 4) {
            const uint32_t style = GetU32(data);
            text += " flags " + Hex32(style, 8);
            if ((style & 0x40) != 0 && available >= 8) {
                text += " colour " + Hex32(GetU32(data + 4), 6);
            }
        } else if (kind == kMsgMatrixRows && length >= 4 && available == length) {
            text += " row " + std::to_string(GetU32(data + length - 4)) + " (" +
                    std::to_string(length) + " bytes)";
        } else {
            text += " = " + HexBytes(data, available, available < length);
        }
    }
    return text;
}

std::string HelloReplyText(Cursor& in, uint16_t flags) {
    const uint32_t length = in.U32();
    const uint8_t* data = nullptr;
    size_t available = 0;
    in.Take(length, &data, &available);
    return "\"" + PlainText(data, available, (flags & kHelloWideName) != 0) + "\"";
}

std::string FileTransferText(Cursor& in) {
    const uint32_t id = in.U32();
    const uint32_t files = in.U32();
    std::string text = Id(id) + " " + std::to_string(files) + (files == 1 ? " file" : " files");
    if (files == 0 || in.RanOut()) {
        return text;
    }
    const uint32_t nameLength = in.U32();
    const uint8_t* data = nullptr;
    size_t available = 0;
    in.Take(nameLength, &data, &available);
    const bool wide = available >= 2 && data[1] == 0 && data[0] != 0;
    text += ": " + PlainText(data, available, wide);
    const uint32_t size = in.U32();
    if (!in.RanOut()) {
        text += " (" + std::to_string(size) + " bytes)";
    }
    return text;
}

std::string LayoutEntriesText(Cursor& in) {
    const uint32_t count = in.U32();
    std::string text = std::to_string(count) + (count == 1 ? " entry" : " entries");
    for (uint32_t i = 0; i < count && i < kMaxEntriesShown && in.Has(12); ++i) {
        const uint32_t a = in.U32();
        const uint32_t b = in.U32();
        const uint32_t value = in.U32();
        text += (i == 0 ? ": " : ", ") + Hex32(a, 1) + "/" + Hex32(b, 1) + " = " +
                std::to_string(static_cast<int32_t>(value));
    }
    return text;
}

std::string PayloadText(const CapturedFrame& frame, Cursor& in) {
    switch (frame.Kind()) {
    case kMsgHelloReply:
        return HelloReplyText(in, frame.Flags());
    case kMsgPanelDescription: {
        const uint32_t count = in.U32();
        return std::to_string(count) + (count == 1 ? " control" : " controls");
    }
    case kMsgValuesToDevice:
    case kMsgValuesFromDevice:
    case kMsgStyleUpdate:
    case kMsgMatrixRows:
        return Entries(in, frame.Kind());
    case kMsgFileTransfer:
        return FileTransferText(in);
    case kMsgLayoutRequest:
        return Hex32(in.U32(), 8);
    case kMsgLayoutEntries:
        return LayoutEntriesText(in);
    default:
        return {};
    }
}

} // namespace

std::string MessageKindName(uint16_t kind) {
    switch (kind) {
    case kMsgHello:
        return "Hello";
    case kMsgHelloReply:
        return "HelloReply";
    case kMsgGoodbyeFromHandheld:
    case kMsgGoodbyeFromDevice:
        return "Goodbye";
    case kMsgPanelDescription:
        return "PanelDescription";
    case kMsgValuesToDevice:
    case kMsgValuesFromDevice:
        return "Values";
    case kMsgDevicePing:
        return "DevicePing";
    case kMsgPing:
        return "Ping";
    case kMsgPingReply:
    case kMsgPingReplyToDevice:
        return "PingReply";
    case kMsgNoOperation:
        return "NoOperation";
    case kMsgAcknowledge:
        return "Acknowledge";
    case kMsgResetRequest:
        return "ResetRequest";
    case kMsgStyleUpdate:
        return "StyleUpdate";
    case kMsgFileTransfer:
        return "FileTransfer";
    case kMsgLayoutRequest:
        return "LayoutRequest";
    case kMsgLayoutEntries:
        return "LayoutEntries";
    case kMsgMatrixRows:
        return "MatrixRows";
    default:
        return "Kind " + std::to_string(kind);
    }
}

std::string FrameKindName(const CapturedFrame& frame) {
    if (frame.skipped) {
        return "Skipped";
    }
    return frame.HasHeader() ? MessageKindName(frame.Kind()) : "Cut short";
}

std::string FrameSummary(const CapturedFrame& frame) {
    if (frame.skipped) {
        return "skipped " + std::to_string(frame.length) + (frame.length == 1 ? " byte" : " bytes");
    }
    if (!frame.HasHeader()) {
        return "header cut short after " + std::to_string(frame.length) + " bytes";
    }
    Cursor in(frame);
    std::string text = FrameKindName(frame);
    const bool known = IsReceivedKind(frame.Kind()) || frame.direction == TapDirection::kSent;
    const std::string payload = known ? PayloadText(frame, in) : "not a kind the client accepts";
    if (!payload.empty()) {
        text += "  " + payload;
    }
    const std::string ellipsis = "…";
    const bool endsInEllipsis =
        text.size() >= ellipsis.size() &&
        text.compare(text.size() - ellipsis.size(), ellipsis.size(), ellipsis) == 0;
    if (in.RanOut() && !frame.Cut()) {
        text += " (cut short)";
    } else if (in.RanOut() && !endsInEllipsis) {
        text += " …";
    }
    return text;
}

} // namespace ksv
