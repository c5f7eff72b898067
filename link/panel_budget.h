#pragma once

#include "link/control_record.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ksv {

// The bounds of what a device can make the handheld spend, in one place.

// What one panel may hold, whatever each record announces: every record is capped on its own,
// and these cap their sum. A description past either is refused and the old panel stays.
inline constexpr uint32_t kMaxPanelRecords = 65536;
inline constexpr size_t kMaxPanelBytes = size_t{64} << 20;

// What the screen may spend on the panel the link accepted. The store keeps every value whole;
// these bound what is drawn, decoded and made into windows.
inline constexpr size_t kMaxTitleChars = 128;      // the device name as the window title
inline constexpr size_t kMaxDrawnTextChars = 1024; // a caption or read-only text as drawn
inline constexpr size_t kMaxPicturePixels = size_t{1024} * 1024; // one picture, as declared
// Controls the view makes of a panel: the first ones; the user is told of the rest.
inline constexpr uint32_t kMaxPanelControls = 10000;
// A panel of more controls has windows only for the pages within kWindowPageReach of the one
// shown; the others are fields alone, their windows made when their page is shown.
inline constexpr uint32_t kMaxPanelWindowControls = 400;
inline constexpr int kWindowPageReach = 2;
// Decoded pixels of all a panel's pictures (16 MiB as colours); pictures past it are refused.
// Decoding is done as the panel is built, so this bounds that time as well as the memory.
inline constexpr size_t kMaxPanelPicturePixels = size_t{4} << 20;

// The decoded pixels a panel's pictures have taken, charged as each is decoded.
class PictureBudget {
public:
    size_t Left() const { return kMaxPanelPicturePixels - m_used; }
    void Charge(size_t pixels) { m_used += pixels < Left() ? pixels : Left(); }
    void NoteRefusal() { m_refused = true; }
    // True once per panel after a picture was refused: the user is told once.
    bool TakeTelling() {
        const bool tell = m_refused && !m_told;
        m_told = m_told || m_refused;
        return tell;
    }
    // The panel is built again: nothing taken. keepTold false: a new panel.
    void Restart(bool keepTold) {
        m_used = 0;
        m_refused = false;
        m_told = m_told && keepTold;
    }

private:
    size_t m_used = 0;
    bool m_refused = false;
    bool m_told = false;
};

// Settings. Only entries that something can read are stored: the device-wide values, the
// page-bar buttons' placement, and for a control of the panel the attributes of its kind
// (layout_admission.h); entries for controls the panel does not have wait for the next panel.
// Entries of one LayoutEntries message that are read; the rest are skipped and reported.
inline constexpr uint32_t kMaxLayoutEntries = 100000;
// Entries held for a panel that has not arrived (12 bytes each); the oldest go first.
inline constexpr size_t kMaxHeldLayoutEntries = 100000;
// Entries a device's settings section may hold (about 2 MB of settings file) before the new
// entries its LayoutEntries make are refused; entries already stored are still updated, so a
// flood never pushes out a layout that is there.
inline constexpr size_t kMaxDeviceSectionEntries = 100000;

// Received files. What the files one device sends may add up to in its folder, and what the
// folders of all devices may add up to together; a file past either is refused before a byte of
// it is written. Temporary files of transfers that never ended (a killed process) are removed
// at start and never counted.
inline constexpr uint64_t kDeviceFilesQuota = uint64_t{512} << 20;
inline constexpr uint64_t kAllFilesQuota = uint64_t{1} << 30;
// A file name longer than this (bytes on the wire) or with more components is refused.
inline constexpr uint32_t kMaxFileNameBytes = 64 * 1024;
inline constexpr size_t kMaxFilePathComponents = 64;

// Time. A frame whose bytes stop arriving for kFrameStallMs is abandoned, and so is one whose
// bytes come slower than kMinFrameBytesPerSecond on average: a frame that has brought n bytes
// may have taken kFrameStallMs + n / kMinFrameBytesPerSecond seconds, so a device that dribbles
// cannot hold the link (or a file transfer) open for ever.
inline constexpr int kFrameStallMs = 3000;
inline constexpr uint32_t kMinFrameBytesPerSecond = 256;

// Memory a record holds: the record itself and every buffer it owns.
size_t RecordHeldBytes(const ControlRecord& record);
size_t PanelHeldBytes(const std::vector<ControlRecord>& records);

// The running total of a description being decoded.
class PanelBudget {
public:
    // False once the records or the bytes would pass the budget; nothing is charged then.
    bool Charge(size_t bytes);
    // Whether `bytes` more fit without charging them (a record's raw bytes before reading).
    bool Fits(size_t bytes) const { return bytes <= kMaxPanelBytes - m_bytes; }

private:
    size_t m_bytes = 0;
};

} // namespace ksv
