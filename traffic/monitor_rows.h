#pragma once

#include "traffic/captured_frame.h"
#include "traffic/frame_ring.h"

#include <deque>
#include <string>
#include <vector>

namespace ksv {

// The rows a monitor window shows: at most `capacity` frames taken from the ring, of which those
// whose kind name matches the filter are shown. Kept apart from the ring so that a paused
// window keeps its rows while the ring moves on.
//
// Thread contract: one thread (the GUI's).
class MonitorRows {
public:
    explicit MonitorRows(size_t capacity = kFrameRingCapacity);

    // Taking a batch in two steps, so that a model can announce each: first the oldest rows
    // make room (`removedFront` shown rows go from the top), then the batch's newest frames
    // come in (`appended` shown rows at the bottom).
    struct Change {
        size_t dropped = 0;      // of all rows, shown or not
        size_t removedFront = 0; // of the shown rows
        size_t firstNew = 0;     // index in the batch of the first frame kept
        size_t appended = 0;     // shown rows added
    };
    Change Plan(const std::vector<FramePtr>& frames) const;
    void DropOldest(const Change& change);
    void AppendNewest(const std::vector<FramePtr>& frames, const Change& change);
    // Both steps at once.
    Change Append(const std::vector<FramePtr>& frames);

    // An empty name shows every kind; otherwise the FrameKindName to show.
    void SetFilter(const std::string& kindName);
    const std::string& Filter() const { return m_filter; }
    void Clear();

    size_t Count() const { return m_shown.size(); }
    const CapturedFrame& At(size_t row) const { return *m_shown[row]; }
    // Every kind name met so far, in order of first appearance.
    const std::vector<std::string>& KindNames() const { return m_kindNames; }

private:
    bool Shows(const CapturedFrame& frame) const;
    void NoteKind(const CapturedFrame& frame);

    size_t m_capacity;
    std::string m_filter;
    std::deque<FramePtr> m_all;
    std::deque<FramePtr> m_shown; // a subsequence of m_all
    std::vector<std::string> m_kindNames;
};

} // namespace ksv
