#pragma once

#include "platform/report_reason.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace ksv {

// Which reports are on screen and which wait, for a presenter that shows each distinct text in
// one box at a time and counts its repeats in that box.
//
// Bounds: at most kMaxOnScreen boxes at once. Waiting texts are kept up to kMaxWaitingErrors
// error texts and kMaxWaitingMessages user messages; a repeat of a text already on screen or
// waiting only raises its count. A new text past its bound is dropped here: its only trace is
// the standard-error line every report gets. A flood of distinct error texts therefore never
// crowds out a user message such as "Bluetooth driver error".
//
// Thread contract: Add and RequestQuit from any thread, with any lock held (they take only this
// object's mutex, briefly); TakeWork and Dismissed from the presenting thread.
class ReportQueue {
public:
    static constexpr size_t kMaxOnScreen = 4;
    static constexpr size_t kMaxWaitingErrors = 32;
    static constexpr size_t kMaxWaitingMessages = 16;

    enum class Kind { Error, Message };

    struct Box {
        Kind kind = Kind::Error;
        std::u16string text;                              // the report itself, the key of its box
        ReportReason reason = ReportReason::ProgramFault; // that of the first report
        uint64_t count = 0; // reports of this text since its box opened
    };

    struct Work {
        std::vector<Box> open;   // boxes to put up, oldest first
        std::vector<Box> update; // boxes on screen whose count has grown
        bool quit = false;       // every report made before the quit request is dismissed
    };

    // False when the report was dropped past the bounds.
    bool Add(Kind kind, const std::u16string& text, ReportReason reason);
    // The quit waits for the reports made before it, not for later ones.
    void RequestQuit();

    Work TakeWork();
    void Dismissed(const std::u16string& text);

    // Something for TakeWork: a waiting report with room on screen, a grown count, a due quit.
    bool HasWork() const;
    size_t WaitingCount() const;
    size_t OnScreenCount() const;

private:
    struct Entry {
        Kind kind = Kind::Error;
        ReportReason reason = ReportReason::ProgramFault;
        uint64_t count = 0;
        uint64_t shownCount = 0; // count last handed out, while on screen
        uint64_t firstSequence = 0;
        bool onScreen = false;
    };

    size_t& WaitingOf(Kind kind);
    bool QuitDue() const; // mutex held

    mutable std::mutex m_mutex;
    std::map<std::u16string, Entry> m_entries; // on screen and waiting
    std::deque<std::u16string> m_waiting;      // in order of their first report
    size_t m_waitingErrors = 0;
    size_t m_waitingMessages = 0;
    size_t m_onScreen = 0;
    uint64_t m_nextSequence = 0;
    bool m_quitRequested = false;
    uint64_t m_quitAfter = 0; // reports with a lower sequence come first
};

// The text a box shows: the report, "(N times)" once it has come more than once, and the
// reason's sentence.
std::u16string BoxText(const ReportQueue::Box& box);

} // namespace ksv
