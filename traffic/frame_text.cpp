#include "traffic/frame_text.h"

#include "traffic/frame_summary.h"

#include <cstdio>

namespace ksv {

std::string FrameTimeText(const CapturedFrame& frame) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(frame.micros / 1000),
                  static_cast<long long>(frame.micros % 1000));
    return text;
}

std::string FrameDirectionText(const CapturedFrame& frame) {
    return frame.direction == TapDirection::kReceived ? "in" : "out";
}

std::string FrameFlagsText(const CapturedFrame& frame) {
    if (!frame.HasHeader()) {
        return {};
    }
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x", frame.Flags());
    return text;
}

std::string FrameLengthText(const CapturedFrame& frame) {
    return std::to_string(frame.skipped ? frame.length : frame.PayloadLength());
}

std::string FrameLine(const CapturedFrame& frame) {
    return FrameTimeText(frame) + "\t" + FrameDirectionText(frame) + "\t" + FrameKindName(frame) +
           "\t" + FrameFlagsText(frame) + "\t" + FrameLengthText(frame) + "\t" +
           FrameSummary(frame);
}

std::string HexDump(const CapturedFrame& frame) {
    if (frame.skipped) {
        return FrameSummary(frame) + " (not kept)\n";
    }
    std::string text;
    char piece[32];
    for (size_t line = 0; line < frame.bytes.size(); line += 16) {
        std::snprintf(piece, sizeof piece, "%04zx ", line);
        text += piece;
        std::string ascii;
        for (size_t i = line; i < line + 16; ++i) {
            if (i < frame.bytes.size()) {
                std::snprintf(piece, sizeof piece, " %02x", frame.bytes[i]);
                const uint8_t c = frame.bytes[i];
                ascii += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '.';
            } else {
                std::snprintf(piece, sizeof piece, "   ");
            }
            text += piece;
            if (i == line + 7) {
                text += ' ';
            }
        }
        text += "  " + ascii + "\n";
    }
    if (frame.Cut()) {
        text += "… the first " + std::to_string(frame.bytes.size()) + " of " +
                std::to_string(frame.length) + " bytes are kept\n";
    }
    return text;
}

} // namespace ksv
